// What the uninstall registry entry holds, derived from the product-info
// settings section. Pure logic: no Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

struct SettingsEntry {
  std::string key;
  std::string value;
  bool numeric = false;
};

struct RegistryValue {
  std::string name;
  bool isDword = false;
  uint32_t dword = 0;
  std::string text;  // REG_SZ data, without its terminating zero
};

struct UninstallPlan {
  std::vector<RegistryValue> values;       // in settings order
  std::optional<std::string> displayName;  // the last DisplayName entry
};

// One value per entry except the key's own name; the main program and the
// uninstaller get the install folder in front; numeric entries are DWORDs
// of their whole part. Keys compare case-sensitively.
UninstallPlan PlanUninstallValues(const std::vector<SettingsEntry>& entries, std::string_view installFolder);

// The folder an uninstall entry's DisplayIcon names: the text in front of
// its last "\" (the whole text when there is none). Not yet checked for use.
std::string FolderOfDisplayIcon(std::string_view displayIcon);

// True for a key name that names an entry of its own below the Uninstall key:
// not empty (the Uninstall key itself) and without "\" (a key further down,
// or another product's).
bool IsEntryKeyName(std::string_view keyName);

inline constexpr const char* kUninstallKeyRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace qx
