// Finding an earlier install through its uninstall entry and removing it.
#pragma once

#include <string>

namespace qx {

// True when the path can be opened for reading as a file (not a folder).
bool FileExists(const std::string& path);

// The folder of the earlier install that HKLM\...\Uninstall\<keyName> names
// in DisplayIcon. Set only when that folder is an absolute path that a
// recursive removal accepts (no drive root, relative path or system folder);
// otherwise `previousFolder` stays as it was.
void FindPreviousInstall(const std::string& keyName, std::string& previousFolder);

// Deletes the files and folders the list beside the install folder names.
void ApplyDeleteList(const std::string& previousFolder);

// The running installer's own values that name the earlier install's parts.
struct PreviousInstall {
  std::string folder;       // from FindPreviousInstall; empty: nothing to do
  std::string displayName;  // DisplayName: the shortcut names
  std::string mainProgram;  // DisplayIcon: the program the pin points at
};

// In order: desktop shortcut, start-menu folders, taskbar pin, delete list,
// auto-start shortcuts, the folder itself. Nothing when the folder is empty.
void RemovePreviousInstall(const PreviousInstall& previous);

}  // namespace qx
