#include "system/previous_install.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "app/folder_ops.h"
#include "core/path.h"
#include "system/auto_start.h"
#include "system/delete_list.h"
#include "system/shortcuts.h"
#include "system/special_folders.h"
#include "system/uninstall_values.h"
#include "win/debug_log.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace qx {
namespace {

constexpr REGSAM kEntryAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;  // 0x2001F

std::string ReadDisplayIcon(HKEY key) {
  char data[1024] = {};
  DWORD type = 0;
  DWORD size = sizeof data;
  if (::RegQueryValueExA(key, "DisplayIcon", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
    return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  if (size == 0) return {};
  if (data[size - 1] != '\0') return {};
  return data;
}

bool WideFileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveDesktopShortcut(const std::string& displayName) {
  const std::string desktop = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
  if (desktop.empty()) return;
  const std::wstring name = win::GbkToWide(displayName);
  if (::DeleteFileW(ShortcutFilePath(desktop, name + L".exe").c_str())) return;
  const std::wstring plain = ShortcutFilePath(desktop, name);
  if (WideFileExists(plain)) ::DeleteFileW(plain.c_str());
}

void RemoveStartMenuFolders() {
  for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
    const std::string programs = SpecialFolderByLocation(csidl);
    if (!programs.empty()) RemoveFolderRecursively(JoinPath(programs, kStartMenuFolderName));
  }
}

void RemoveTaskbarPin(const PreviousInstall& previous) {
  const std::string quickLaunch = QuickLaunchFolder();
  if (quickLaunch.empty()) return;
  const std::wstring link = ShortcutFilePath(quickLaunch, win::GbkToWide(previous.displayName));
  if (WideFileExists(link)) ::DeleteFileW(link.c_str());
  CreateShortcut(ShortcutKind::kQuickLaunch, JoinPath(previous.folder, previous.mainProgram), previous.displayName);
  if (WideFileExists(link)) ::DeleteFileW(link.c_str());
}

}  // namespace

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
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, kEntryAccess, key.Receive()) != ERROR_SUCCESS) return;
  const std::string folder = FolderOfDisplayIcon(ReadDisplayIcon(key.Get()));
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
  RemoveTaskbarPin(previous);
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
