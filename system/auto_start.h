// Shortcuts in the user's Startup folder for the programs that the settings
// name in AUTO_RUN under the key "AutoRunName1".
#pragma once

#include <string>

namespace qx {

// The user's Startup folder (not created); empty when it cannot be found.
std::string StartupFolder();

// One shortcut per AutoRunName1 entry, in settings order, named after the
// program without its extension and pointing at install folder\<program>.
// Nothing when the Startup folder is empty.
void CreateAutoStartShortcuts(const std::string& startupFolder, const std::string& installFolder);

// Deletes the shortcuts CreateAutoStartShortcuts makes, from the user's
// Startup folder.
void RemoveAutoStartShortcuts();

}  // namespace qx
