#include "system/uninstall_entry.h"

#include <windows.h>

#include <vector>

#include "app/ini_info.h"
#include "system/uninstall_values.h"
#include "win/scoped.h"

namespace qx {
namespace {

constexpr REGSAM kEntryAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;  // 0x2001F

}  // namespace

void RegisterUninstallEntry(const std::string& installFolder, const std::string& keyName,
                            std::string& shortcutDisplayName) {
  if (keyName.empty()) return;
  const std::string keyPath = kUninstallKeyRoot + keyName;
  win::ScopedRegKey key;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, kEntryAccess, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
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

}  // namespace qx
