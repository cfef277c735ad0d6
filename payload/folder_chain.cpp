#include "payload/folder_chain.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace qx::payload {

std::wstring PathKey(std::wstring path) {
  while (!path.empty() && IsPathSeparator(path.back())) path.pop_back();
  std::replace(path.begin(), path.end(), L'/', L'\\');
  // NTFS compares names through an upper-case table of its own; the
  // invariant upper-case mapping is the closest rule a program can ask for.
  // In place, which the case mappings allow.
  if (!path.empty())
    ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, path.data(), static_cast<int>(path.size()), path.data(),
                   static_cast<int>(path.size()));
  return path;
}

bool FolderChain::Make(const std::wstring& folder) {
  std::wstring path = folder;
  while (!path.empty() && IsPathSeparator(path.back())) path.pop_back();
  if (path.empty() || known_.count(PathKey(path))) return true;

  // Step up until a level exists or can be made, then make the rest downward.
  std::vector<std::wstring> missing;
  for (;;) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
      known_.insert(PathKey(path));
      break;
    }
    const size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut == 0 || (cut == 2 && path[1] == L':')) {
      missing.push_back(path);
      break;
    }
    missing.push_back(path);
    path.resize(cut);
    if (known_.count(PathKey(path))) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    const bool made = ::CreateDirectoryW(it->c_str(), nullptr);
    if (!made && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    // One made meanwhile by someone else may hold their files: not ours.
    std::wstring key = PathKey(*it);
    if (made) made_.insert(key);
    known_.insert(std::move(key));
  }
  return true;
}

}  // namespace qx::payload
