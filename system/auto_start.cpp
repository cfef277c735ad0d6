#include "system/auto_start.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "app/ini_info.h"
#include "core/path.h"
#include "system/shortcut_names.h"
#include "system/shortcuts.h"
#include "system/special_folders.h"
#include "win/text_convert.h"

namespace qx {
namespace {

std::vector<std::string> AutoStartPrograms() {
  std::vector<CIniInfoData*> entries;
  CIniInfoManager::Instance().GetSectionEntries("AUTO_RUN", entries);
  std::vector<std::string> programs;
  for (const CIniInfoData* entry : entries)
    if (entry->key == "AutoRunName1") programs.push_back(entry->value);
  return programs;
}

std::wstring AutoStartLinkPath(const std::string& startupFolder, const std::string& program) {
  return ShortcutFilePath(startupFolder, AutoStartShortcutName(win::GbkToWide(program)));
}

}  // namespace

std::string StartupFolder() { return SpecialFolderPath(CSIDL_STARTUP); }

void CreateAutoStartShortcuts(const std::string& startupFolder, const std::string& installFolder) {
  if (startupFolder.empty()) return;
  for (const std::string& program : AutoStartPrograms())
    SaveShortcut(AutoStartLinkPath(startupFolder, program), JoinPath(installFolder, program));
}

void RemoveAutoStartShortcuts() {
  const std::string startupFolder = StartupFolder();
  if (startupFolder.empty()) return;
  for (const std::string& program : AutoStartPrograms())
    ::DeleteFileW(AutoStartLinkPath(startupFolder, program).c_str());
}

}  // namespace qx
