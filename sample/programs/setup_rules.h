// The prerequisite stand-in's silent command line and what it registers.
// Pure logic: no Windows headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx::sample {

// The arguments after the program, as the installer's batch line gives them.
const std::vector<std::wstring>& SilentSetupArguments();

// "" when `arguments` are exactly SilentSetupArguments(); else a one-line reason.
std::string CheckSetupArguments(const std::vector<std::wstring>& arguments);

// The folder the silent command line installs to (its INSTALLDIR=).
std::wstring SetupInstallFolder();

inline constexpr std::wstring_view kSetupProductVersion = L"14.1.1.28517";

}  // namespace qx::sample
