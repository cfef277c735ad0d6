// Finding and ending running programs by executable file name.
#pragma once

namespace qx {

// Whether a running process has this executable name, ASCII letters
// compared without case. False for a null name.
bool IsProcessRunning(const char* name);

// Ends every process with exactly this executable name (case-sensitive).
// True when every termination succeeded, also when none matched; on the
// first failure the scan stops and the result is false. Does not wait.
bool KillProcessByName(const char* name);

// Ends the programs of the settings' kill list (KILL_PROGRESS/Progress,
// ";"-separated), then waits 300 ms. Reports nothing.
void StopProductProcesses();

}  // namespace qx
