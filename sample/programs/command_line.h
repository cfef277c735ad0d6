// Where a program's own arguments start in its command line.
// Pure logic: no Windows headers.
#pragma once

#include <string_view>

namespace qx::sample {

// The text after the program token of `commandLine`. The token is the
// program's own path written unquoted (a starter that did not quote a path
// with blanks), or else the first word, quotes toggling as the command
// processor reads them, so that both "C:\a b\x.exe" and C:\"a b"\x.exe are
// one token.
std::wstring_view ArgumentText(std::wstring_view commandLine, std::wstring_view modulePath);

}  // namespace qx::sample
