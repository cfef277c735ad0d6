#include "core/folder_rules.h"

namespace qx {

std::string DefaultInstallFolderFor(bool wow64) {
  std::string folder = wow64 ? "C:\\Program Files (x86)\\" : "C:\\Program Files\\";
  return folder + kProductFolderName;
}

std::optional<std::string> FolderFromDialogChoice(std::string_view chosen) {
  if (chosen.empty()) return std::nullopt;
  if (chosen.back() == '\\') chosen.remove_suffix(1);
  std::string folder(chosen);
  folder += '\\';
  folder += kProductFolderName;
  return folder;
}

bool ContainsRefusedUnit(std::u16string_view units) {
  for (char16_t unit : units) {
    if (unit >= 0x4E00 && unit <= 0x9FCF) return true;
  }
  return false;
}

}  // namespace qx
