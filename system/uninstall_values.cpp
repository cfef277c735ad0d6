#include "system/uninstall_values.h"

#include <climits>
#include <cstdlib>

#include "core/path.h"

namespace qx {
namespace {

// atoi's result for the registry's DWORD, without atoi's overflow.
uint32_t WholeDword(const std::string& value) {
  long long n = std::strtoll(value.c_str(), nullptr, 10);
  if (n > INT_MAX) n = INT_MAX;
  if (n < INT_MIN) n = INT_MIN;
  return static_cast<uint32_t>(static_cast<int32_t>(n));
}

}  // namespace

UninstallPlan PlanUninstallValues(const std::vector<SettingsEntry>& entries, std::string_view installFolder) {
  UninstallPlan plan;
  for (const SettingsEntry& entry : entries) {
    if (entry.key == "RegeditKeyName") continue;
    if (entry.key == "DisplayName") plan.displayName = entry.value;
    RegistryValue value;
    value.name = entry.key;
    if (entry.numeric) {
      value.isDword = true;
      value.dword = WholeDword(entry.value);
    } else if (entry.key == "DisplayIcon" || entry.key == "UninstallString") {
      value.text = JoinPath(installFolder, entry.value);
    } else {
      value.text = entry.value;
    }
    plan.values.push_back(std::move(value));
  }
  return plan;
}

std::string FolderOfDisplayIcon(std::string_view displayIcon) {
  const size_t slash = displayIcon.rfind('\\');
  return std::string(slash == std::string_view::npos ? displayIcon : displayIcon.substr(0, slash));
}

bool IsEntryKeyName(std::string_view keyName) {
  return !keyName.empty() && keyName.size() < 256 && keyName.find('\\') == std::string_view::npos;
}

}  // namespace qx
