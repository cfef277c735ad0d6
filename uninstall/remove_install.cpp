#include "uninstall/remove_install.h"

#include <windows.h>

#include <algorithm>

#include "app/folder_ops.h"
#include "app/listed_removal.h"
#include "app/work_folder.h"
#include "core/path.h"
#include "system/auto_start.h"
#include "system/pinned_shortcuts.h"
#include "system/processes.h"
#include "system/shortcuts.h"
#include "system/uninstall_entry.h"
#include "win/debug_log.h"
#include "win/whole_file.h"
#include "win/text_convert.h"

namespace qx::uninstall {
namespace {

bool IsRecordFile(const std::wstring& path) {
  return SameFileName(path, win::AnsiToWide(payload::kItemListName)) ||
         SameFileName(path, win::AnsiToWide(payload::kSettingsCopyName));
}

// The report program the installer staged in the product's application
// data, and its settings file when it holds nothing but what the installer
// wrote for this install; then that folder when nothing else is in it.
void RemoveReportFiles(const std::string& installFolder) {
  const std::string folder = ProductAppDataFolder();
  if (folder.empty()) return;
  ::DeleteFileA(JoinPath(folder, kReportProgramName).c_str());
  const std::string settings = JoinPath(folder, kReportSettingsName);
  if (ReportSettingsAreTheInstallers(win::ReadWholeFile(win::AnsiToWide(settings), 1 << 20).value_or(""),
                                     installFolder))
    ::DeleteFileA(settings.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

RemovalOutcome RemoveInstall(const InstallRecord& record, const std::wstring& originalProgram) {
  RemovalOutcome outcome;
  StopProductProcesses();
  // The main program goes last: while it is there, a second try can still
  // prove that this folder is the product's.
  const std::wstring mainProgram = win::GbkToWide(record.values.displayIcon);
  std::vector<std::wstring> files = ListedPaths(record, false);
  files.erase(std::remove_if(files.begin(), files.end(),
                             [&](const std::wstring& f) {
                               return IsRecordFile(f) || SameFileName(f, originalProgram) ||
                                      SameFileName(f, mainProgram);
                             }),
              files.end());
  outcome.held = DeleteListedFiles(record.folder, files);
  if (outcome.held.empty()) outcome.held = DeleteListedFiles(record.folder, {mainProgram});
  if (!outcome.held.empty()) {
    outcome.code = kIncomplete;
    return outcome;
  }
  const UninstallValues& values = record.values;
  RemoveDesktopShortcut(values.displayName);
  RemoveStartMenuFolders();
  RemoveTaskbarPin(record.ansiFolder, values.displayName, values.displayIcon);
  RemovePinnedShortcuts(JoinPath(record.ansiFolder, values.displayIcon));
  RemoveAutoStartShortcuts();
  RemoveReportFiles(record.ansiFolder);
  if (!RemoveUninstallEntry(values.regeditKeyName)) win::DebugLog("uninstall: the entry stayed\n");
  for (const std::wstring& file : ListedPaths(record, false))
    if (IsRecordFile(file)) ::DeleteFileW(JoinPath(record.folder, file).c_str());
  return outcome;
}

std::vector<std::wstring> FinishRemoval(const InstallRecord& record, const std::wstring& originalProgram) {
  std::vector<std::wstring> listed = ListedPaths(record, false);
  const bool originalListed = std::any_of(listed.begin(), listed.end(),
                                          [&](const std::wstring& f) { return SameFileName(f, originalProgram); });
  if (originalListed) DeleteListedFiles(record.folder, {originalProgram});
  std::vector<std::wstring> folders;
  for (const std::string& folder : payload::FoldersDeepestFirst(record.items))
    folders.push_back(win::Utf8ToWide(folder));
  RemoveEmptiedFolders(record.folder, folders);
  listed.insert(listed.end(), folders.begin(), folders.end());
  return UnlistedItems(record.folder, listed);
}

}  // namespace qx::uninstall
