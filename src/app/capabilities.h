#pragma once
// The Debian package lets the console open the trap port 162 as any user:
// the program file carries the capability to bind ports below 1024. Once
// the trap port is open the console needs that right no more, so it gives
// it up: nothing later in the program can open another low port.

namespace app {

// Gives up every capability an ordinary user's process holds. Root keeps
// what root has (dropping it would take more than the package gave). True
// when nothing is held afterwards, or the process runs as root.
bool dropCapabilities();

}  // namespace app
