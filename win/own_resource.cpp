#include "win/own_resource.h"

#include <windows.h>

namespace qx::win {

std::string_view OwnResource(int id, const char* type) {
  HMODULE self = ::GetModuleHandleA(nullptr);
  HRSRC info = ::FindResourceA(self, MAKEINTRESOURCEA(id), type);
  if (!info) return {};
  const DWORD size = ::SizeofResource(self, info);
  if (size == 0) return {};
  HGLOBAL loaded = ::LoadResource(self, info);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const char*>(bytes), size};
}

}  // namespace qx::win
