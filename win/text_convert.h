// The one set of string conversions. Data (paths, settings values, registry
// values) stays in the ANSI code page; UTF-16 only where an API needs it.
#pragma once

#include <string>
#include <string_view>

namespace qx::win {

// GBK (code page 936) regardless of the system's code page: the settings
// file and the product's fixed texts are GBK. Invalid input gives "".
std::wstring GbkToWide(std::string_view gbk);
std::string WideToGbk(std::wstring_view wide);

// The system ANSI code page: paths and values handed to the A-APIs.
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace qx::win
