// The product's shortcut files and its taskbar pin.
#pragma once

#include <string>

namespace qx {

// The product's folder in the start-menu programs; fixed, not from the settings.
inline constexpr const char* kStartMenuFolderName = "QXSimulator";

enum class ShortcutKind {
  kDesktop,          // the desktop
  kQuickLaunch,      // the quick-launch folder; the shell is asked to unpin it after saving
  kStartMenuFolder,  // the product's own folder in the user's start-menu programs, created when missing
};

// The kind's folder (empty when it cannot be found).
std::string ShortcutFolder(ShortcutKind kind);
// The user's application data + "\Microsoft\Internet Explorer\Quick Launch";
// empty when the application-data folder cannot be found.
std::string QuickLaunchFolder();

// folder\name.lnk as a UTF-16 path: the folder is in the system code page, the
// name is GBK (settings text), so Chinese names come out right on any system.
std::wstring ShortcutFilePath(const std::string& folder, const std::wstring& name);

// Saves a shortcut holding only `target` (empty description, SW_SHOW),
// replacing any file there. Initialises COM around its own calls.
bool SaveShortcut(const std::wstring& linkPath, const std::string& target);

// A shortcut of the kind named `name` (GBK) to `target`; true when saved.
bool CreateShortcut(ShortcutKind kind, const std::string& target, const std::string& name);

// Starts "<folder>\syspin" "<folder>\<mainProgram>" c:5386 hidden, without waiting.
void PinToTaskbar(const std::string& installFolder, const std::string& mainProgram);

struct InstallShortcutOptions {
  std::string installFolder;
  std::string mainProgram;       // DisplayIcon value
  std::string uninstallProgram;  // UninstallString value
  std::string displayName;       // the shortcut display name
  bool desktopShortcut = true;
  bool taskbarPin = true;
  bool autoStart = true;
};

// Start-menu shortcuts to the program and "卸载"+name to the uninstaller,
// then the desktop shortcut, the taskbar pin and the auto-start shortcuts as
// the options say.
void CreateInstallShortcuts(const InstallShortcutOptions& options);

// Removal of what CreateInstallShortcuts made; missing files are no error.
// The desktop shortcut named after the display name (GBK).
void RemoveDesktopShortcut(const std::string& displayName);
// The product's start-menu folder, in the user's and the common programs.
void RemoveStartMenuFolders();
// The shell's unpin of the quick-launch shortcut to folder\mainProgram (made
// for the call, then deleted again).
void RemoveTaskbarPin(const std::string& installFolder, const std::string& displayName, const std::string& mainProgram);
}  // namespace qx
