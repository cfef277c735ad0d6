#include "system/special_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace qx {

std::string SpecialFolderByLocation(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return {};
  char path[MAX_PATH] = {};
  const BOOL found = ::SHGetPathFromIDListA(items, path);
  ::CoTaskMemFree(items);
  return found ? std::string(path) : std::string();
}

std::string SpecialFolderPath(int csidl) {
  char path[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) return {};
  return path;
}

}  // namespace qx
