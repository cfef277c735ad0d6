// Diagnostics go to the debugger output channel only, each line formatted
// into a 260-byte (or 260-unit) buffer; longer lines are cut, never overrun.
#pragma once

namespace qx::win {

void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugLogW(const wchar_t* format, ...);

}  // namespace qx::win
