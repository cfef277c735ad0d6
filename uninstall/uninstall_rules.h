// The uninstaller's decisions that need no Windows: its arguments, whether
// the evidence proves an install, and the texts it shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::uninstall {

// What the process ends with; /S callers read it.
enum ExitCode : int {
  kRemoved = 0,     // the install is gone (the user's own files may remain)
  kCancelled = 1,   // the user said no: nothing changed
  kRefused = 2,     // not provably an install of the product: nothing changed
  kIncomplete = 3,  // files stayed in use: the entry and the uninstaller stay for another try
  kFailed = 4,      // the uninstaller could not run its work
};

struct Arguments {
  bool silent = false;  // "/S": no window at all
  // Only in the temporary copy: the install folder, the original program's
  // file name there, and the handles it inherited from the original.
  bool worker = false;
  std::wstring folder;
  std::wstring originalProgram;
  uint64_t originalProcess = 0;
  uint64_t resultPipe = 0;
};

// Words after the program name. Letter case of the switches does not matter;
// unknown words are ignored (the system's list of programs passes none).
// A worker line that is incomplete leaves `worker` false.
Arguments ParseArguments(const std::vector<std::wstring>& words);

// The command line that starts the temporary copy as the worker.
std::wstring WorkerCommandLine(std::wstring_view copy, const Arguments& worker);

// Why an install cannot be proved; kProved when it can.
enum class Refusal {
  kProved,
  kUnsafeFolder,    // a drive root, a system, profile or documents folder, or a relative path
  kFolderIsLink,    // the folder itself is a junction or symbolic link
  kNoRecord,        // no whole install list and settings copy in the folder
  kNoMainProgram,   // the product's main program is not there or not listed
  kBadKeyName,      // the settings name no entry of their own (empty or nested key)
  kEntryElsewhere,  // the uninstall entry names another folder
};

// What the uninstaller found, in order of the checks.
struct Evidence {
  bool folderAllowed = false;  // passes the safe-removal check
  bool folderIsLink = false;
  bool recordLoaded = false;
  bool mainProgramPresent = false;
  bool mainProgramListed = false;
  bool keyNameValid = false;
  bool entryPresent = false;
  std::string entryIconFolder;       // from the entry's DisplayIcon
  std::string entryUninstallFolder;  // from the entry's UninstallString
};

// The install folder is proved when it is safe to remove from, holds the
// record and the main program, and the entry (when there is one) names this
// folder in both DisplayIcon and UninstallString. An entry that has gone
// (removed by hand or a cleaner) does not stop the removal of the files.
Refusal Judge(const Evidence& evidence, std::string_view folder);

// The texts the user reads.
std::wstring Caption(std::wstring_view displayName);
std::wstring ConfirmText(std::wstring_view displayName);
std::wstring RefusalText(Refusal refusal, std::wstring_view displayName, std::wstring_view folder,
                         std::wstring_view entryFolder);
// `kept`: what stays in the folder because the install did not bring it.
std::wstring DoneText(std::wstring_view displayName, std::wstring_view folder, const std::vector<std::wstring>& kept);
std::wstring IncompleteText(std::wstring_view displayName, const std::vector<std::wstring>& held);
std::wstring FailedText(std::wstring_view displayName);

// At most `limit` lines of names, then how many more there are.
std::wstring NameLines(const std::vector<std::wstring>& names, size_t limit);

// True when the report settings file holds nothing but what the installer
// writes there for this install (section CONFIG: installPath naming this
// folder, Version), so removing it takes nothing of the product's.
bool ReportSettingsAreTheInstallers(std::string_view text, std::string_view installFolder);

}  // namespace qx::uninstall
