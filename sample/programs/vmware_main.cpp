// Stand-in for the prerequisite's setup program. It honours only the
// installer's silent command line, takes a while as a real setup would,
// then registers what the installer later looks for.
#include <windows.h>

#include <string>

#include "core/path.h"
#include "sample/programs/program_support.h"
#include "sample/programs/setup_rules.h"
#include "win/scoped.h"

namespace {

constexpr char kProgram[] = "VMware14";
constexpr int kRefusedExit = 1;
constexpr DWORD kWorkMilliseconds = 3000;

bool SetString(REGSAM view, const wchar_t* keyPath, const wchar_t* name, const std::wstring& value) {
  qx::win::ScopedRegKey key;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | view, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
         ERROR_SUCCESS;
}

}  // namespace

int main() {
  using namespace qx::sample;
  if (const std::string reason = CheckSetupArguments(ProgramArguments()); !reason.empty())
    return Refuse(kProgram, reason, kRefusedExit);
  AppendRunLog();
  ::Sleep(kWorkMilliseconds);

  const std::wstring folder = SetupInstallFolder();
  // The program's path in the 64-bit view (the flag is ignored on 32-bit
  // Windows); the product's own key in the 32-bit view, where its setup
  // writes it.
  constexpr wchar_t kAppPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vmware.exe";
  constexpr wchar_t kProductKey[] = L"SOFTWARE\\VMware, Inc.\\VMware Workstation";
  const bool registered =
      SetString(KEY_WOW64_64KEY, kAppPath, nullptr, qx::JoinPath(folder, L"vmware.exe")) &&
      SetString(KEY_WOW64_32KEY, kProductKey, L"InstallPath", folder) &&
      SetString(KEY_WOW64_32KEY, kProductKey, L"ProductVersion", std::wstring(kSetupProductVersion));
  if (!registered) return Refuse(kProgram, "the product could not be registered", kFailedExit);
  return 0;
}
