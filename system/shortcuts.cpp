#include "system/shortcuts.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "core/path.h"
#include "system/auto_start.h"
#include "system/shortcut_names.h"
#include "app/folder_ops.h"
#include "system/special_folders.h"
#include "win/com.h"
#include "win/debug_log.h"
#include "win/text_convert.h"

namespace qx {
std::string QuickLaunchFolder() {
  const std::string appData = SpecialFolderByLocation(CSIDL_APPDATA);
  if (appData.empty()) return {};
  const std::string folder = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
  return folder.size() < MAX_PATH ? folder : std::string();
}

std::string ShortcutFolder(ShortcutKind kind) {
  switch (kind) {
    case ShortcutKind::kDesktop:
      return SpecialFolderByLocation(CSIDL_DESKTOP);
    case ShortcutKind::kQuickLaunch:
      return QuickLaunchFolder();
    case ShortcutKind::kStartMenuFolder: {
      const std::string startMenu = SpecialFolderByLocation(CSIDL_STARTMENU);
      return startMenu.empty() ? startMenu : JoinPath(JoinPath(startMenu, "Programs"), kStartMenuFolderName);
    }
  }
  return {};
}

std::wstring ShortcutFilePath(const std::string& folder, const std::wstring& name) {
  return win::AnsiToWide(folder) + L"\\" + name + L".lnk";
}

bool SaveShortcut(const std::wstring& linkPath, const std::string& target) {
  win::ScopedCoInitialize com;
  win::ComPtr<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.ReceiveVoid())))
    return false;
  link->SetPath(target.c_str());
  link->SetDescription("");
  link->SetShowCmd(SW_SHOW);
  win::ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  return file && SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

bool CreateShortcut(ShortcutKind kind, const std::string& target, const std::string& name) {
  const std::string folder = ShortcutFolder(kind);
  if (folder.empty()) return false;
  if (kind == ShortcutKind::kStartMenuFolder) ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::wstring linkPath = ShortcutFilePath(folder, win::GbkToWide(name));
  const bool saved = SaveShortcut(linkPath, target);
  if (kind == ShortcutKind::kQuickLaunch)
    ::ShellExecuteW(nullptr, L"TaskbarUnpin", linkPath.c_str(), nullptr, nullptr, SW_SHOW);
  return saved;
}

void PinToTaskbar(const std::string& installFolder, const std::string& mainProgram) {
  const std::string command = PinCommandLine(installFolder, mainProgram);
  win::DebugLog("%s%s\n", win::WideToGbk(L"锁定任务栏或从任务栏解锁命令为:").c_str(), command.c_str());
  ::WinExec(command.c_str(), SW_HIDE);
}

void CreateInstallShortcuts(const InstallShortcutOptions& options) {
  const std::string program = JoinPath(options.installFolder, options.mainProgram);
  const std::string uninstaller = JoinPath(options.installFolder, options.uninstallProgram);
  CreateShortcut(ShortcutKind::kStartMenuFolder, program, options.displayName);
  CreateShortcut(ShortcutKind::kStartMenuFolder, uninstaller, UninstallShortcutName(options.displayName));
  if (options.desktopShortcut) CreateShortcut(ShortcutKind::kDesktop, program, options.displayName);
  if (options.taskbarPin) PinToTaskbar(options.installFolder, options.mainProgram);
  if (options.autoStart) CreateAutoStartShortcuts(StartupFolder(), options.installFolder);
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

void RemoveTaskbarPin(const std::string& installFolder, const std::string& displayName,
                      const std::string& mainProgram) {
  const std::string quickLaunch = QuickLaunchFolder();
  if (quickLaunch.empty()) return;
  const std::wstring link = ShortcutFilePath(quickLaunch, win::GbkToWide(displayName));
  if (WideFileExists(link)) ::DeleteFileW(link.c_str());
  CreateShortcut(ShortcutKind::kQuickLaunch, JoinPath(installFolder, mainProgram), displayName);
  if (WideFileExists(link)) ::DeleteFileW(link.c_str());
}

}  // namespace qx
