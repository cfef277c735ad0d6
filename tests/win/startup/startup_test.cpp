// The start-up guards with injected checks (Wine always runs as an
// administrator), the real checks against the prefix, and the folder rules
// on the platform's own conversions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/install_folder.h"
#include "app/startup_guards.h"
#include "temp_folder.h"
#include "win/scoped.h"

namespace qx {
namespace {

// What the injected checks saw; function pointers carry no state.
struct Recorder {
  bool administrator = true;
  bool productRunning = false;
  int compatibilityWrites = 0;
  struct Message {
    std::wstring text, caption;
    UINT type;
  };
  std::vector<Message> messages;
};
Recorder g_seen;

StartupChecks Injected(const char* mutexName) {
  g_seen = Recorder{};
  StartupChecks checks;
  checks.isAdministrator = [] { return g_seen.administrator; };
  checks.isProductRunning = [] { return g_seen.productRunning; };
  checks.writeCompatibilityEntry = [] {
    ++g_seen.compatibilityWrites;
    return true;
  };
  checks.showMessage = [](const wchar_t* text, const wchar_t* caption, UINT type) {
    g_seen.messages.push_back({text, caption, type});
    return IDOK;
  };
  checks.mutexName = mutexName;
  return checks;
}

constexpr wchar_t kRunningText[] = L"检测到岚舟模拟器正在运行,请退出后再进行安装!";
constexpr wchar_t kAdminText[] = L"检测到系统用户不具有管理员权限，请切换管理员账户后再进行安装!";

TEST(StartupGuards, RunningProductStopsFirstAndOnlyAdministratorsMarkCompatibility) {
  StartupChecks checks = Injected("QXGuardTest.running");
  g_seen.productRunning = true;
  g_seen.administrator = false;
  EXPECT_EQ(RunStartupGuards(checks), StartupVerdict::kProductRunning);
  ASSERT_EQ(g_seen.messages.size(), 1u);
  EXPECT_EQ(g_seen.messages[0].text, kRunningText);
  EXPECT_EQ(g_seen.messages[0].caption, L"岚舟模拟器 安装");
  EXPECT_EQ(g_seen.messages[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(g_seen.compatibilityWrites, 0);
  // The product check comes before the instance mutex is taken.
  EXPECT_FALSE(win::ScopedHandle(::OpenMutexA(SYNCHRONIZE, FALSE, "QXGuardTest.running")));

  checks = Injected("QXGuardTest.running");
  g_seen.productRunning = true;
  EXPECT_EQ(RunStartupGuards(checks), StartupVerdict::kProductRunning);
  EXPECT_EQ(g_seen.compatibilityWrites, 1);  // written even though a later guard stops
}

TEST(StartupGuards, SecondInstanceTellsOnlyAnAdministrator) {
  win::ScopedHandle first(::CreateMutexA(nullptr, FALSE, "QXGuardTest.instance"));
  ASSERT_TRUE(first);

  StartupChecks checks = Injected("QXGuardTest.instance");
  EXPECT_EQ(RunStartupGuards(checks), StartupVerdict::kAlreadyRunning);
  ASSERT_EQ(g_seen.messages.size(), 1u);
  EXPECT_EQ(g_seen.messages[0].text, L"岚舟模拟器安装程序已经运行!");
  EXPECT_EQ(g_seen.messages[0].type, static_cast<UINT>(MB_OK));  // no icon

  checks = Injected("QXGuardTest.instance");
  g_seen.administrator = false;
  EXPECT_EQ(RunStartupGuards(checks), StartupVerdict::kAlreadyRunning);
  EXPECT_TRUE(g_seen.messages.empty());
}

TEST(StartupGuards, NonAdministratorIsRefusedAndAdministratorProceedsHoldingTheName) {
  StartupChecks checks = Injected("QXGuardTest.admin");
  g_seen.administrator = false;
  EXPECT_EQ(RunStartupGuards(checks), StartupVerdict::kNotAdministrator);
  ASSERT_EQ(g_seen.messages.size(), 1u);
  EXPECT_EQ(g_seen.messages[0].text, kAdminText);
  EXPECT_EQ(g_seen.messages[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(g_seen.compatibilityWrites, 0);

  checks = Injected("QXGuardTest.proceed");
  EXPECT_EQ(RunStartupGuards(checks), StartupVerdict::kProceed);
  EXPECT_TRUE(g_seen.messages.empty());
  EXPECT_EQ(g_seen.compatibilityWrites, 1);
  win::ScopedHandle held(::OpenMutexA(SYNCHRONIZE, FALSE, "QXGuardTest.proceed"));
  EXPECT_TRUE(held) << "the instance name must stay taken";
}

TEST(StartupChecks, WineRunsTheTestAsAdministrator) { EXPECT_TRUE(IsAdministrator()); }

// Polls the process list, which a new or ended process reaches with a delay.
bool ProductRunningWithin(bool expected, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (IsProductRunning() == expected) return true;
    ::Sleep(50);
  }
  return IsProductRunning() == expected;
}

TEST(StartupChecks, ProductIsFoundByNameInAnyLetterCase) {
  ASSERT_TRUE(ProductRunningWithin(false, 0));
  test::TempFolder folder("product");
  const std::string program = folder / "qxsimulator.EXE";
  ASSERT_TRUE(::CopyFileA(QX_SLEEPER, program.c_str(), FALSE));
  const std::string other = folder / "QXSimulatorX.exe";
  ASSERT_TRUE(::CopyFileA(QX_SLEEPER, other.c_str(), FALSE));

  auto start = [](const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + path + "\"";
    if (!::CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      return win::ScopedHandle();
    ::CloseHandle(info.hThread);
    return win::ScopedHandle(info.hProcess);
  };
  win::ScopedHandle similar = start(other);
  ASSERT_TRUE(similar);
  ::Sleep(300);
  EXPECT_FALSE(IsProductRunning()) << "only the exact name counts";

  win::ScopedHandle product = start(program);
  ASSERT_TRUE(product);
  EXPECT_TRUE(ProductRunningWithin(true, 5000));
  ::TerminateProcess(product.Get(), 0);
  ::WaitForSingleObject(product.Get(), 5000);
  EXPECT_TRUE(ProductRunningWithin(false, 5000));
  ::TerminateProcess(similar.Get(), 0);
  ::WaitForSingleObject(similar.Get(), 5000);
}

constexpr char kPersisted[] =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";

bool PersistedKeyExists() {
  win::ScopedRegKey key;
  return ::RegOpenKeyExA(HKEY_CURRENT_USER, kPersisted, 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

TEST(StartupChecks, CompatibilityEntryGoesOnlyIntoAnExistingList) {
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kPersisted);
  ASSERT_FALSE(PersistedKeyExists());
  EXPECT_FALSE(WriteCompatibilityEntry());
  EXPECT_FALSE(PersistedKeyExists()) << "the list must not be created";

  win::ScopedRegKey key;
  ASSERT_EQ(
      ::RegCreateKeyExA(HKEY_CURRENT_USER, kPersisted, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr),
      ERROR_SUCCESS);
  EXPECT_TRUE(WriteCompatibilityEntry());
  char self[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(::RegQueryValueExA(key.Get(), self, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 1u);
  key = win::ScopedRegKey();
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kPersisted);
}

// A 32-bit process on 64-bit Windows is the WOW64 case; a 64-bit test build
// never is, whatever the system.
TEST(InstallFolder, DefaultFollowsWow64) {
  SYSTEM_INFO native{};
  ::GetNativeSystemInfo(&native);
  const bool expected = sizeof(void*) == 4 && native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
  EXPECT_EQ(RunsUnderWow64(), expected);
  EXPECT_EQ(DefaultInstallFolder(),
            expected ? "C:\\Program Files (x86)\\QXSimulator" : "C:\\Program Files\\QXSimulator");
}

TEST(InstallFolder, ChineseCharactersAreFoundInGbkPaths) {
  EXPECT_TRUE(ContainsChineseCharacters("C:\\\xD6\xD0"));              // 中 (U+4E2D)
  EXPECT_TRUE(ContainsChineseCharacters("D:\\\xB0\xB2\xD7\xB0\\QX"));  // 安装
  EXPECT_FALSE(ContainsChineseCharacters("D:\\\xA5\xA2\xA5\xB2"));     // アゲ (katakana)
  EXPECT_FALSE(ContainsChineseCharacters("D:\\Games\\QXSimulator"));
  EXPECT_FALSE(ContainsChineseCharacters("D:\\\xA1\xA2"));  // 、 punctuation, not an ideograph
  // A lone lead byte is no GBK text: not refused.
  EXPECT_FALSE(ContainsChineseCharacters("D:\\\x81"));
}

}  // namespace
}  // namespace qx
