// The product's entry in the system's list of installed programs.
#pragma once

#include <string>

namespace qx {

// Writes the settings' TAMSOR_INFO section as values of
// HKLM\...\Uninstall\<keyName> (the 32-bit view on 64-bit Windows) and sets
// shortcutDisplayName to the DisplayName value. Nothing is written when the
// key cannot be created, or when keyName is empty (which would name the
// shared Uninstall key itself).
void RegisterUninstallEntry(const std::string& installFolder, const std::string& keyName,
                            std::string& shortcutDisplayName);

}  // namespace qx
