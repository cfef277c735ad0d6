// Making the folders an archive's items go into, with a memory of what
// already exists so that items sharing a folder cost no further calls.
#pragma once

#include <string>
#include <unordered_set>

namespace qx::payload {

// Both separators count in item paths.
inline bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The one name under which a path is compared: as the file system compares
// names, without regard to letter case (all of Unicode, not only ASCII),
// with backslashes and no trailing separator.
std::wstring PathKey(std::wstring path);

class FolderChain {
 public:
  // Creates folder and its missing parents, outer first; true when it stands
  // as a folder afterwards. Never steps past a drive root or a root-only path.
  bool Make(const std::wstring& folder);
  // Made by this object, so it holds only what this run put there.
  bool MadeHere(const std::wstring& key) const { return made_.count(key) != 0; }
  void Clear() {
    known_.clear();
    made_.clear();
  }

 private:
  std::unordered_set<std::wstring> known_;  // keys of folders that exist
  std::unordered_set<std::wstring> made_;
};

}  // namespace qx::payload
