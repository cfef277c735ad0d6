// uninstall.exe: removes the install it stands in, and only that. Started
// from the install folder it proves the install, asks, and hands the work
// to a temporary copy of itself (see hand_over.h); "/S" does the same
// without any window, the exit code saying what happened.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/dll_search.h"
#include "core/path.h"
#include "uninstall/hand_over.h"
#include "uninstall/install_record.h"
#include "uninstall/remove_install.h"
#include "uninstall/uninstall_rules.h"

namespace {

using namespace qx::uninstall;

std::vector<std::wstring> CommandWords() {
  std::vector<std::wstring> words;
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return words;
  for (int i = 1; i < count; ++i) words.emplace_back(argv[i]);
  ::LocalFree(argv);
  return words;
}

int Say(bool silent, const InstallRecord& record, const std::wstring& text, UINT icon, int code) {
  if (!silent)
    ::MessageBoxW(nullptr, text.c_str(), Caption(record.displayName).c_str(), MB_OK | icon | MB_SETFOREGROUND);
  return code;
}

int Refuse(bool silent, const InstallRecord& record, Refusal refusal) {
  return Say(silent, record, RefusalText(refusal, record.displayName, record.folder, record.entryFolder),
             MB_ICONWARNING, kRefused);
}

// The uninstaller as started from the install folder.
int RunOriginal(const Arguments& args) {
  const std::wstring self = OwnProgramPath();
  const std::wstring folder = qx::ParentFolder(self);
  const std::wstring program = self.substr(folder.size() + 1);
  // Our current folder must not keep the install folder from going.
  const std::wstring temp = TemporaryFolder();
  if (!temp.empty()) ::SetCurrentDirectoryW(temp.c_str());

  InstallRecord record;
  const Refusal refusal = ProveInstall(folder, record);
  if (refusal != Refusal::kProved) return Refuse(args.silent, record, refusal);
  if (!args.silent &&
      ::MessageBoxW(nullptr, ConfirmText(record.displayName).c_str(), Caption(record.displayName).c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) != IDYES)
    return kCancelled;
  const int code = RunWorkerCopy(record.folder, program, args.silent);
  if (code == kFailed) return Say(args.silent, record, FailedText(record.displayName), MB_ICONERROR, kFailed);
  return code;
}

// The temporary copy: proves the install again (it trusts no command
// line), removes it, lets the original end, then finishes.
int RunWorker(const Arguments& args) {
  Original original(args);
  if (!original.Valid()) return kFailed;
  InstallRecord record;
  const Refusal refusal = ProveInstall(args.folder, record);
  if (refusal != Refusal::kProved) {
    original.ReportResult(kRefused);
    return Refuse(args.silent, record, refusal);
  }
  const RemovalOutcome outcome = RemoveInstall(record, args.originalProgram);
  original.ReportResult(outcome.code);
  if (outcome.code == kIncomplete)
    return Say(args.silent, record, IncompleteText(record.displayName, outcome.held), MB_ICONWARNING, kIncomplete);
  original.WaitForEnd(30000);
  const std::vector<std::wstring> kept = FinishRemoval(record, args.originalProgram);
  return Say(args.silent, record, DoneText(record.displayName, record.folder, kept), MB_ICONINFORMATION, outcome.code);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  qx::RestrictDllSearchToSystemFolder();
  const Arguments args = ParseArguments(CommandWords());
  return args.worker ? RunWorker(args) : RunOriginal(args);
}
