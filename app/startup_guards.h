// What the installer checks before its window opens. The checks and the
// message display are injectable so that every branch can be tried,
// including the non-administrator ones, which Wine never takes by itself.
#pragma once
#include <windows.h>

namespace qx {

// Member of the local Administrators group (S-1-5-32-544) by the caller's
// effective token; false when the test itself fails.
bool IsAdministrator();
// A process named "QXSimulator.exe" (any ASCII case) is running.
bool IsProductRunning();
// Marks this executable in the compatibility assistant's list (HKCU) so it
// does not ask afterwards whether the installer ran correctly. Writes only
// into an existing key.
bool WriteCompatibilityEntry();

// One message box without owner, shown through the wide API so that the
// texts read correctly on any ANSI code page.
int ShowStartupMessage(const wchar_t* text, const wchar_t* caption, UINT type);

inline constexpr wchar_t kInstallerCaption[] = L"岚舟模拟器 安装";

struct StartupChecks {
  bool (*isAdministrator)() = IsAdministrator;
  bool (*isProductRunning)() = IsProductRunning;
  bool (*writeCompatibilityEntry)() = WriteCompatibilityEntry;
  int (*showMessage)(const wchar_t*, const wchar_t*, UINT) = ShowStartupMessage;
  const char* mutexName = "QXInstaller";
};

enum class StartupVerdict { kProceed, kProductRunning, kAlreadyRunning, kNotAdministrator };

// The guards in their order: compatibility entry (administrators only),
// product running, single instance, administrator. Each refusal shows its
// message; the caller then ends with exit code 0. The instance mutex is
// kept open for the rest of the process.
StartupVerdict RunStartupGuards(const StartupChecks& checks = {});

}  // namespace qx
