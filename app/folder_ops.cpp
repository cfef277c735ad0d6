#include "app/folder_ops.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/path.h"
#include "core/protected_folders.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace qx {
namespace {

std::string SpecialFolder(int csidl) {
  char buffer[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, buffer, csidl, FALSE)) return {};
  return buffer;
}

std::string EnvironmentFolder(const char* name) {
  char buffer[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer) : std::string();
}

// Folders whose loss would break the system or the user's data. Asked anew
// each time: the list is short and removal is rare.
std::vector<std::string> WellKnownFolders() {
  std::vector<std::string> folders;
  for (int csidl :
       {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON,
        CSIDL_COMMON_APPDATA, CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
        CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU})
    folders.push_back(SpecialFolder(csidl));
  // A 32-bit process sees the x86 folder as "program files"; the native one
  // is only in the environment.
  for (const char* name : {"ProgramW6432", "ProgramFiles", "ProgramFiles(x86)", "ProgramData", "SystemRoot", "windir",
                           "USERPROFILE", "PUBLIC"})
    folders.push_back(EnvironmentFolder(name));
  const std::string profile = SpecialFolder(CSIDL_PROFILE);
  folders.push_back(ParentFolder(profile));  // the users folder
  return folders;
}

// Resolves "." and ".." so that "C:\x\..\Windows" is judged as "C:\Windows".
std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH] = {};
  const DWORD n = ::GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer) : path;
}

// Removes a junction or directory link itself, through a handle to the link
// (not to what it names), so no removal can ever reach the target.
void RemoveLink(const std::wstring& path) {
  win::ScopedHandle link(::CreateFileW(
      path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

// The walk uses the wide APIs: entries whose names the ANSI code page cannot
// spell (a Chinese shortcut name on a Western system) are removed too.
void RemoveTree(const std::wstring& path) {
  const std::wstring listing = path.empty() || path.back() != L'\\' ? path + L'\\' : path;
  WIN32_FIND_DATAW entry;
  win::ScopedFindHandle find(::FindFirstFileW((listing + L"*.*").c_str(), &entry));
  if (find.Valid()) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = listing + name;
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(child.c_str());
      } else if (IsLinkAttributes(entry.dwFileAttributes)) {
        RemoveLink(child);  // keep what it names
      } else {
        RemoveTree(child);
      }
    } while (::FindNextFileW(find.Get(), &entry));
    find.Reset();
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(path.c_str());
}

}  // namespace

bool IsLinkAttributes(unsigned long attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

bool WideFileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  WIN32_FIND_DATAA entry;
  win::ScopedFindHandle find(::FindFirstFileA(path.c_str(), &entry));
  return find.Valid() && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveFileFromFolder(const std::string& folder, std::string_view name) {
  std::remove(JoinPath(folder, name).c_str());
}

RemovalVerdict CheckFolderRemoval(const std::string& path) {
  if (path.empty()) return RemovalVerdict::kEmpty;
  if (IsDriveRoot(path)) return RemovalVerdict::kDriveRoot;
  if (!IsAbsolutePath(path)) return RemovalVerdict::kRelative;
  const std::string full = FullPath(path);
  if (IsDriveRoot(full)) return RemovalVerdict::kDriveRoot;
  if (WouldRemoveProtectedFolder(full, WellKnownFolders())) return RemovalVerdict::kSystemFolder;
  return RemovalVerdict::kAllowed;
}

bool RemoveFolderRecursively(const std::string& path) {
  if (CheckFolderRemoval(path) != RemovalVerdict::kAllowed) return false;
  const std::wstring folder = win::AnsiToWide(WithoutTrailingSeparator(path));
  // The entry's own attributes (a find does not follow a link, even a dangling one).
  WIN32_FIND_DATAW self;
  if (win::ScopedFindHandle(::FindFirstFileW(folder.c_str(), &self)).Valid() &&
      IsLinkAttributes(self.dwFileAttributes)) {
    RemoveLink(folder);  // the link itself, never its target
    return true;
  }
  WIN32_FIND_DATAW probe;
  if (!win::ScopedFindHandle(::FindFirstFileW((folder + L"\\*.*").c_str(), &probe)).Valid()) return false;
  RemoveTree(folder);
  return true;
}

}  // namespace qx
