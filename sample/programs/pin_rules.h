// The taskbar-pin program's command line and the name of the pin it makes.
// Pure logic: no Windows headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx::sample {

// What follows the program: the file to pin, then this code.
inline constexpr std::wstring_view kPinCode = L"c:5386";

// "" when `arguments` (without the program) are exactly an absolute path
// with a file name, then kPinCode; else a one-line reason. Whether the file
// exists is for the caller to ask.
std::string CheckPinArguments(const std::vector<std::wstring>& arguments);

// The pin's file name: the target's name without its extension, plus ".lnk".
// "" when the target names no file.
std::wstring PinLinkName(std::wstring_view target);

}  // namespace qx::sample
