// The product's entry in the system's list of installed programs.
#pragma once

#include <string>

namespace qx {

// KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY: what the installer opens the
// entry with. Without a view flag, a program sees the view of its own word
// size: a 32-bit installer and uninstaller the 32-bit view on 64-bit Windows.
inline constexpr unsigned long kUninstallEntryAccess = 0x2001F;

// Writes the settings' TAMSOR_INFO section as values of
// HKLM\...\Uninstall\<keyName> (the 32-bit view on 64-bit Windows) and sets
// shortcutDisplayName to the DisplayName value. Nothing is written when the
// key cannot be created, or when keyName is empty (which would name the
// shared Uninstall key itself).
void RegisterUninstallEntry(const std::string& installFolder, const std::string& keyName,
                            std::string& shortcutDisplayName);

// The values of an existing entry that say where the install is.
struct UninstallEntryPaths {
  bool present = false;
  std::string displayIcon;
  std::string uninstallString;
};
// Nothing present for a key name that is not an entry of its own.
UninstallEntryPaths ReadUninstallEntryPaths(const std::string& keyName);

// Deletes the entry (in the view it was written to). Refuses a key name that
// is not an entry of its own. True when the entry is gone afterwards.
bool RemoveUninstallEntry(const std::string& keyName);

}  // namespace qx
