#include "app/dll_search.h"

#include <windows.h>

namespace qx {

bool RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return false;
  auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
  return set && set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace qx
