#include "sample/programs/command_line.h"

namespace qx::sample {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
  if (prefix.empty() || text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
  return true;
}

}  // namespace

std::wstring_view ArgumentText(std::wstring_view commandLine, std::wstring_view modulePath) {
  if (StartsWithIgnoringAsciiCase(commandLine, modulePath) &&
      (commandLine.size() == modulePath.size() || IsBlank(commandLine[modulePath.size()])))
    return commandLine.substr(modulePath.size());
  bool quoted = false;
  size_t end = 0;
  for (; end < commandLine.size(); ++end) {
    if (commandLine[end] == L'"')
      quoted = !quoted;
    else if (!quoted && IsBlank(commandLine[end]))
      break;
  }
  return commandLine.substr(end);
}

}  // namespace qx::sample
