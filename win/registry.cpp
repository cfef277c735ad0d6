#include "win/registry.h"

#include <vector>

namespace qx::win {

std::string ReadRegistryText(HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return {};
  std::vector<char> data(size);
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return {};
  if (size == 0 || size > data.size() || data[size - 1] != '\0') return {};
  return std::string(data.data(), size - 1);
}

}  // namespace qx::win
