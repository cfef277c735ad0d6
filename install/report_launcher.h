// The install-report program: staged from the install folder into the
// product's roaming application-data folder and started there with its
// settings file, without waiting for it.
#pragma once

#include <string>

namespace qx::install {

// Copies install folder\HttpInstallSubmit.exe into the report folder
// (made when missing), replacing an older copy, then waits 300 ms.
void StageReportProgram(const std::string& installFolder);

// Writes installPath and Version into the report folder's submitconfig.ini
// and starts the staged program with the build argument.
void LaunchReportProgram(const std::string& installFolder);

// Starts a command line (its program quoted) with this process's standard
// error; true when the process was created. Never waits.
bool RunProgram(const std::string& commandLine);

}  // namespace qx::install
