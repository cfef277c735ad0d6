// Reading registry values the way every caller here wants them.
#pragma once

#include <windows.h>

#include <string>

namespace qx::win {

// A REG_SZ or REG_EXPAND_SZ value of any length, without its terminating
// zero. Empty when the value is missing, of another type, or unterminated
// (the registry does not promise a terminator; we never read past the data).
std::string ReadRegistryText(HKEY key, const char* name);

}  // namespace qx::win
