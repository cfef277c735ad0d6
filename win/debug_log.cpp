#include "win/debug_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>

namespace qx::win {

void DebugLog(const char* format, ...) {
  char line[260] = {};
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  ::OutputDebugStringA(line);
}

void DebugLogW(const wchar_t* format, ...) {
  wchar_t line[260] = {};
  va_list args;
  va_start(args, format);
  std::vswprintf(line, sizeof line / sizeof line[0], format, args);
  va_end(args);
  ::OutputDebugStringW(line);
}

}  // namespace qx::win
