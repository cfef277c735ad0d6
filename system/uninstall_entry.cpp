#include "system/uninstall_entry.h"

#include <windows.h>

#include <vector>

#include "app/ini_info.h"
#include "system/uninstall_values.h"
#include "win/registry.h"
#include "win/scoped.h"

namespace qx {

void RegisterUninstallEntry(const std::string& installFolder, const std::string& keyName,
                            std::string& shortcutDisplayName) {
  if (keyName.empty()) return;
  const std::string keyPath = kUninstallKeyRoot + keyName;
  win::ScopedRegKey key;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, kUninstallEntryAccess, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
    return;

  std::vector<CIniInfoData*> records;
  CIniInfoManager::Instance().GetSectionEntries("TAMSOR_INFO", records);
  std::vector<SettingsEntry> entries;
  for (const CIniInfoData* record : records) entries.push_back({record->key, record->value, record->numeric});
  const UninstallPlan plan = PlanUninstallValues(entries, installFolder);

  if (plan.displayName) shortcutDisplayName = *plan.displayName;
  for (const RegistryValue& value : plan.values) {
    if (value.isDword) {
      const DWORD data = value.dword;
      ::RegSetValueExA(key.Get(), value.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    } else {
      ::RegSetValueExA(key.Get(), value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                       static_cast<DWORD>(value.text.size() + 1));
    }
  }
}

UninstallEntryPaths ReadUninstallEntryPaths(const std::string& keyName) {
  UninstallEntryPaths paths;
  if (!IsEntryKeyName(keyName)) return paths;
  win::ScopedRegKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstallKeyRoot + keyName).c_str(), 0, KEY_READ, key.Receive()) !=
      ERROR_SUCCESS)
    return paths;
  paths.present = true;
  paths.displayIcon = win::ReadRegistryText(key.Get(), "DisplayIcon");
  paths.uninstallString = win::ReadRegistryText(key.Get(), "UninstallString");
  return paths;
}

bool RemoveUninstallEntry(const std::string& keyName) {
  if (!IsEntryKeyName(keyName)) return false;
  const std::string keyPath = kUninstallKeyRoot + keyName;
  const LONG result = ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace qx
