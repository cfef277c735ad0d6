#include "win/text_convert.h"

#include <windows.h>

namespace qx::win {
namespace {

constexpr UINT kGbk = 936;

std::wstring ToWide(UINT codePage, DWORD flags, std::string_view text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int n =
      ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring GbkToWide(std::string_view gbk) { return ToWide(kGbk, MB_ERR_INVALID_CHARS, gbk); }
std::string WideToGbk(std::wstring_view wide) { return FromWide(kGbk, wide); }
std::wstring AnsiToWide(std::string_view ansi) { return ToWide(CP_ACP, 0, ansi); }
std::string WideToAnsi(std::wstring_view wide) { return FromWide(CP_ACP, wide); }
std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, 0, utf8); }
std::string WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

}  // namespace qx::win
