#include "app/startup_guards.h"

#include <tlhelp32.h>

#include "core/text.h"
#include "win/scoped.h"

namespace qx {

bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  win::ScopedSid admins;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  admins.Receive()))
    return false;
  BOOL member = FALSE;
  return ::CheckTokenMembership(nullptr, admins.Get(), &member) && member;
}

bool IsProductRunning() {
  win::ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry)) {
    if (EqualsIgnoreAsciiCase(entry.szExeFile, "QXSimulator.exe")) return true;
  }
  return false;
}

bool WriteCompatibilityEntry() {
  win::ScopedRegKey key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\"
                      "Persisted",
                      0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, key.Receive()) != ERROR_SUCCESS)
    return false;
  char path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A cut path would name another file.
  if (length == 0 || length >= MAX_PATH) return false;
  DWORD one = 1;
  return ::RegSetValueExA(key.Get(), path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one)) ==
         ERROR_SUCCESS;
}

int ShowStartupMessage(const wchar_t* text, const wchar_t* caption, UINT type) {
  return ::MessageBoxW(nullptr, text, caption, type);
}

StartupVerdict RunStartupGuards(const StartupChecks& checks) {
  if (checks.isAdministrator()) checks.writeCompatibilityEntry();

  if (checks.isProductRunning()) {
    checks.showMessage(L"检测到岚舟模拟器正在运行,请退出后再进行安装!", kInstallerCaption, MB_OK | MB_ICONWARNING);
    return StartupVerdict::kProductRunning;
  }

  // Never closed: the name must stay taken while this installer lives.
  ::CreateMutexA(nullptr, FALSE, checks.mutexName);  // cppcheck-suppress leakReturnValNotUsed
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    if (checks.isAdministrator()) checks.showMessage(L"岚舟模拟器安装程序已经运行!", kInstallerCaption, MB_OK);
    return StartupVerdict::kAlreadyRunning;
  }

  if (!checks.isAdministrator()) {
    checks.showMessage(L"检测到系统用户不具有管理员权限，请切换管理员账户后再进行安装!", kInstallerCaption,
                       MB_OK | MB_ICONWARNING);
    return StartupVerdict::kNotAdministrator;
  }
  return StartupVerdict::kProceed;
}

}  // namespace qx
