#include "uninstall/install_record.h"

#include <windows.h>

#include <optional>

#include "app/folder_ops.h"
#include "app/listed_removal.h"
#include "core/path.h"
#include "system/uninstall_entry.h"
#include "system/uninstall_values.h"
#include "win/whole_file.h"
#include "win/text_convert.h"

namespace qx::uninstall {
namespace {

// The product's name until its settings are read.
constexpr wchar_t kFallbackName[] = L"岚舟模拟器";

std::string WithoutQuotes(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

Refusal ProveInstall(const std::wstring& givenFolder, InstallRecord& record) {
  std::wstring folder = givenFolder;
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  record.folder = folder;
  record.ansiFolder = win::WideToAnsi(folder);
  record.displayName = kFallbackName;
  Evidence evidence;
  // A folder the code page cannot spell cannot be checked by the A-API rules.
  evidence.folderAllowed =
      win::AnsiToWide(record.ansiFolder) == folder && CheckFolderRemoval(record.ansiFolder) == RemovalVerdict::kAllowed;
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  evidence.folderIsLink = attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT);

  const std::wstring listPath = JoinPath(folder, win::AnsiToWide(payload::kItemListName));
  const std::wstring settingsPath = JoinPath(folder, win::AnsiToWide(payload::kSettingsCopyName));
  std::optional<std::vector<payload::ListedItem>> items;
  if (!evidence.folderIsLink && WideFileExists(settingsPath)) {
    if (const auto text = win::ReadWholeFile(listPath, 64 << 20)) items = payload::ParseItemList(*text);
  }
  if (items) {
    record.items = std::move(*items);
    LoadSettings(JoinPath(record.ansiFolder, payload::kSettingsCopyName));
    record.values = ReadUninstallValues();
    if (!record.values.displayName.empty()) record.displayName = win::GbkToWide(record.values.displayName);
    evidence.recordLoaded = !record.values.displayIcon.empty();
  }
  if (evidence.recordLoaded) {
    const std::wstring mainProgram = win::GbkToWide(record.values.displayIcon);
    evidence.mainProgramPresent = !mainProgram.empty() && !ReachedThroughLink(folder, mainProgram) &&
                                  WideFileExists(JoinPath(folder, mainProgram));
    for (const std::wstring& file : ListedPaths(record, false))
      evidence.mainProgramListed = evidence.mainProgramListed || SameFileName(file, mainProgram);
    evidence.keyNameValid = IsEntryKeyName(record.values.regeditKeyName);
  }
  if (evidence.keyNameValid) {
    const UninstallEntryPaths entry = ReadUninstallEntryPaths(record.values.regeditKeyName);
    evidence.entryPresent = entry.present;
    evidence.entryIconFolder = FolderOfDisplayIcon(WithoutQuotes(entry.displayIcon));
    evidence.entryUninstallFolder = FolderOfDisplayIcon(WithoutQuotes(entry.uninstallString));
    const std::string& other = SameFolder(evidence.entryIconFolder, record.ansiFolder) ? evidence.entryUninstallFolder
                                                                                       : evidence.entryIconFolder;
    record.entryFolder = win::AnsiToWide(other);
  }
  return Judge(evidence, record.ansiFolder);
}

std::vector<std::wstring> ListedPaths(const InstallRecord& record, bool folders) {
  std::vector<std::wstring> paths;
  for (const payload::ListedItem& item : record.items)
    if (item.folder == folders) paths.push_back(win::Utf8ToWide(item.path));
  return paths;
}

}  // namespace qx::uninstall
