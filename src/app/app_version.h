#pragma once

namespace app {
inline constexpr const char kProgramName[] = "corvane-manager";
inline constexpr const char kProgramVersion[] = "1.0.0";
}  // namespace app
