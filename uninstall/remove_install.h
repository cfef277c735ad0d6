// Removing an install the record proves, in two parts: everything but the
// original uninstaller while the original waits, then the rest once it has
// ended.
#pragma once

#include <string>
#include <vector>

#include "uninstall/install_record.h"

namespace qx::uninstall {

struct RemovalOutcome {
  int code = kRemoved;
  std::vector<std::wstring> held;  // listed files still in use (kIncomplete)
};

// Stops the product's programs, deletes the listed files except the
// original uninstaller and the record, the main program last; when none
// stays in use, removes the
// shortcuts, the pin, the auto-start entries, the staged report program,
// the uninstall entry and the record. When some do, everything else stays
// so that the user can try again.
RemovalOutcome RemoveInstall(const InstallRecord& record, const std::wstring& originalProgram);

// After the original has ended: its file (when the list names it), the
// emptied folders and the install folder when empty. Returns what stays
// because the install did not bring it.
std::vector<std::wstring> FinishRemoval(const InstallRecord& record, const std::wstring& originalProgram);

}  // namespace qx::uninstall
