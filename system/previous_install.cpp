#include "system/previous_install.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "app/folder_ops.h"
#include "core/path.h"
#include "system/auto_start.h"
#include "system/delete_list.h"
#include "system/shortcuts.h"
#include "system/uninstall_entry.h"
#include "system/uninstall_values.h"
#include "win/debug_log.h"
#include "win/registry.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace qx {

bool FileExists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  // The C runtime opens folders for reading too; they do not count.
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void FindPreviousInstall(const std::string& keyName, std::string& previousFolder) {
  if (keyName.empty()) return;
  const std::string keyPath = kUninstallKeyRoot + keyName;
  win::ScopedRegKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, kUninstallEntryAccess, key.Receive()) != ERROR_SUCCESS)
    return;
  const std::string folder = FolderOfDisplayIcon(win::ReadRegistryText(key.Get(), "DisplayIcon"));
  // The folder is later removed recursively as administrator: a value such as
  // "D:\QXSimulator.exe" or a bare file name must not name a drive or a
  // relative folder, nor a system folder.
  if (folder.empty() || !IsAbsolutePath(folder) || CheckFolderRemoval(folder) != RemovalVerdict::kAllowed) return;
  previousFolder = folder;
}

void ApplyDeleteList(const std::string& previousFolder) {
  const std::string listPath = DeleteListPath(previousFolder);
  if (listPath.empty()) return;
  const std::optional<DeleteList> list = LoadDeleteList(listPath);
  if (!list) return;
  for (const std::string& file : list->files) ::DeleteFileA(file.c_str());
  // Drive roots, relative paths and system folders are refused here.
  for (const std::string& folder : list->folders) RemoveFolderRecursively(folder);
}

void RemovePreviousInstall(const PreviousInstall& previous) {
  if (previous.folder.empty() || CheckFolderRemoval(previous.folder) != RemovalVerdict::kAllowed) return;
  win::DebugLog("%s\n", win::WideToGbk(L"开始删除之前安装的岚舟模拟器文件!").c_str());
  RemoveDesktopShortcut(previous.displayName);
  RemoveStartMenuFolders();
  RemoveTaskbarPin(previous.folder, previous.displayName, previous.mainProgram);
  ApplyDeleteList(previous.folder);
  RemoveAutoStartShortcuts();
  RemoveFolderRecursively(previous.folder);
  ::Sleep(100);
  const DWORD attributes = ::GetFileAttributesA(previous.folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      CheckFolderRemoval(previous.folder) == RemovalVerdict::kAllowed)
    ::RemoveDirectoryA(previous.folder.c_str());
  ::Sleep(200);
}

}  // namespace qx
