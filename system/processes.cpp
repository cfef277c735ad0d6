#include "system/processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "app/ini_info.h"
#include "core/text.h"
#include "system/split.h"
#include "win/scoped.h"

namespace qx {
namespace {

constexpr DWORD kTerminateAccess = PROCESS_TERMINATE | PROCESS_VM_OPERATION | SYNCHRONIZE;

// Calls visit(entry) for each process until it returns false. A snapshot
// that cannot be taken is an empty walk.
template <typename Visit>
void WalkProcesses(Visit visit) {
  win::ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) return;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry))
    if (!visit(entry)) return;
}

std::string KillList() {
  std::vector<CIniInfoData*> entries;
  CIniInfoManager::Instance().GetSectionEntries("KILL_PROGRESS", entries);
  for (const CIniInfoData* entry : entries)
    if (entry->key == "Progress") return entry->value;
  return {};
}

}  // namespace

bool IsProcessRunning(const char* name) {
  if (!name) return false;
  bool found = false;
  WalkProcesses([&](const PROCESSENTRY32& entry) {
    found = EqualsIgnoreAsciiCase(entry.szExeFile, name);
    return !found;
  });
  return found;
}

bool KillProcessByName(const char* name) {
  if (!name) return false;
  bool result = true;
  const std::string wanted = name;
  WalkProcesses([&](const PROCESSENTRY32& entry) {
    // Byte equality is what a multibyte-aware comparison gives for "equal".
    if (wanted != entry.szExeFile) return true;
    win::ScopedHandle process(::OpenProcess(kTerminateAccess, FALSE, entry.th32ProcessID));
    if (!process.Valid() || !::TerminateProcess(process.Get(), 0)) {
      result = false;
      return false;
    }
    return true;
  });
  return result;
}

void StopProductProcesses() {
  for (const std::string& name : SplitByDelimiter(KillList(), ";"))
    if (IsProcessRunning(name.c_str())) KillProcessByName(name.c_str());
  ::Sleep(300);
}

}  // namespace qx
