#pragma once

namespace settings {
inline constexpr const char kProgramName[] = "corvane-manager";
inline constexpr const char kProgramVersion[] = "1.0.0";
}  // namespace settings
