// What the sample programs share: their own path, their arguments, the
// record of each start, and how they refuse a command line.
#pragma once

#include <string>
#include <vector>

namespace qx::sample {

// Exit code when the command line was right but the work itself failed.
inline constexpr int kFailedExit = 3;

std::wstring ModulePath();
// The user's roaming application-data folder; "" when unknown.
std::wstring AppDataFolder();

// The arguments after the program token (ArgumentText), split as
// CommandLineToArgvW splits them.
std::vector<std::wstring> ProgramArguments();

// Appends "<exe name>\t<command line>\t<current folder>\n" (UTF-8) to
// %APPDATA%\QXSimulator\sample-runs.log.
bool AppendRunLog();

// Writes "<program>: <reason>" on stderr and returns exitCode.
int Refuse(const char* program, const std::string& reason, int exitCode);

}  // namespace qx::sample
