// A running program cannot delete its own file, so the uninstaller in the
// install folder (the original) hands the work to a copy of itself in the
// temporary folder (the worker) and waits for its result. The copy is
// opened delete-on-close and that handle is inherited by the worker, so
// the system deletes the copy when the worker ends: nothing stays behind.
#pragma once

#include <string>

#include "uninstall/uninstall_rules.h"
#include "win/scoped.h"

namespace qx::uninstall {

// This program's own file, and the temporary folder (with its trailing "\");
// empty when the system gives none.
std::wstring OwnProgramPath();
std::wstring TemporaryFolder();

// In the original: starts the worker for `folder` and returns the exit code
// it reports (kFailed when it cannot be started or ends without a word).
int RunWorkerCopy(const std::wstring& folder, const std::wstring& originalProgram, bool silent);

// In the worker: the original, waiting for the result.
class Original {
 public:
  // Takes the handles the command line names, after checking that they are
  // what they claim (a pipe, another process): a hand-typed line gets no
  // write into some unrelated handle.
  explicit Original(const Arguments& args);
  bool Valid() const { return pipe_.Valid() && process_.Valid(); }

  // Once: the original ends with this code.
  void ReportResult(int code);
  // True when the original has ended within the time.
  bool WaitForEnd(unsigned long milliseconds);

 private:
  win::ScopedHandle pipe_;
  win::ScopedHandle process_;
};

}  // namespace qx::uninstall
