#include "app/listed_removal.h"

#include <windows.h>

#include <set>

#include "app/folder_ops.h"
#include "core/path.h"
#include "win/scoped.h"

namespace qx {
namespace {

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

std::wstring FoldCase(const std::wstring& text) {
  std::wstring folded = text;
  if (!folded.empty())
    ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()), folded.data(),
                   static_cast<int>(folded.size()));
  return folded;
}

void CollectUnlisted(const std::wstring& folder, const std::wstring& relative, const std::set<std::wstring>& listed,
                     std::vector<std::wstring>& out) {
  const std::wstring here = relative.empty() ? folder : JoinPath(folder, relative);
  WIN32_FIND_DATAW entry;
  win::ScopedFindHandle find(::FindFirstFileW((here + L"\\*").c_str(), &entry));
  if (!find.Valid()) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = relative.empty() ? name : JoinPath(relative, name);
    const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!listed.count(FoldCase(path)))
      out.push_back(path);
    else if (isFolder && !IsLinkAttributes(entry.dwFileAttributes))
      CollectUnlisted(folder, path, listed, out);
  } while (::FindNextFileW(find.Get(), &entry));
}

}  // namespace

bool SameFileName(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool ReachedThroughLink(const std::wstring& folder, const std::wstring& relative) {
  const DWORD top = Attributes(folder);
  if (top == INVALID_FILE_ATTRIBUTES || IsLinkAttributes(top)) return true;
  for (size_t slash = relative.find(L'\\'); slash != std::wstring::npos; slash = relative.find(L'\\', slash + 1)) {
    const DWORD attributes = Attributes(JoinPath(folder, relative.substr(0, slash)));
    if (attributes != INVALID_FILE_ATTRIBUTES && IsLinkAttributes(attributes)) return true;
  }
  return false;
}

std::vector<std::wstring> DeleteListedFiles(const std::wstring& folder, const std::vector<std::wstring>& files) {
  std::vector<std::wstring> left;
  for (const std::wstring& file : files) {
    if (ReachedThroughLink(folder, file)) continue;  // what the link names is not ours
    const std::wstring path = JoinPath(folder, file);
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileW(path.c_str())) left.push_back(file);
  }
  // A program that was just ended lets go of its files a moment later.
  for (int attempt = 0; attempt < 20 && !left.empty(); ++attempt) {
    ::Sleep(150);
    std::vector<std::wstring> still;
    for (const std::wstring& file : left) {
      const std::wstring path = JoinPath(folder, file);
      if (!::DeleteFileW(path.c_str()) && Attributes(path) != INVALID_FILE_ATTRIBUTES) still.push_back(file);
    }
    left.swap(still);
  }
  return left;
}

void RemoveEmptiedFolders(const std::wstring& folder, const std::vector<std::wstring>& deepestFirst) {
  for (const std::wstring& relative : deepestFirst) {
    const std::wstring path = JoinPath(folder, relative);
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        IsLinkAttributes(attributes) || ReachedThroughLink(folder, relative))
      continue;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());  // fails, as wanted, while anything is left inside
  }
  const DWORD top = Attributes(folder);
  if (top != INVALID_FILE_ATTRIBUTES && !IsLinkAttributes(top)) ::RemoveDirectoryW(folder.c_str());
}

std::vector<std::wstring> UnlistedItems(const std::wstring& folder, const std::vector<std::wstring>& listed) {
  std::set<std::wstring> folded;
  for (const std::wstring& path : listed) folded.insert(FoldCase(path));
  std::vector<std::wstring> out;
  const DWORD top = Attributes(folder);
  if (top != INVALID_FILE_ATTRIBUTES && !IsLinkAttributes(top)) CollectUnlisted(folder, L"", folded, out);
  return out;
}

}  // namespace qx
