// The install an uninstaller stands in: its folder, the record the packer
// put there, and whether all of it proves the folder is the product's.
#pragma once

#include <string>
#include <vector>

#include "app/ini_info.h"
#include "payload/install_manifest.h"
#include "uninstall/uninstall_rules.h"

namespace qx::uninstall {

struct InstallRecord {
  std::wstring folder;     // without a trailing "\"
  std::string ansiFolder;  // the same, for the A-API steps the installer shares
  std::vector<payload::ListedItem> items;
  UninstallValues values;  // from the settings copy (also loaded into the settings manager)
  std::wstring displayName;
  std::wstring entryFolder;  // what the uninstall entry names, when it names another folder
};

// Reads the record in `folder` and judges the evidence; `record` holds what
// could be read either way (the display name for the texts, at least).
Refusal ProveInstall(const std::wstring& folder, InstallRecord& record);

// The listed paths as UTF-16, files or folders only.
std::vector<std::wstring> ListedPaths(const InstallRecord& record, bool folders);

}  // namespace qx::uninstall
