// The install run's parts that do not need the window: the prerequisite's
// detection and silent setup, the report launcher, the program start, the
// extraction worker's messages and the step queue. Real registry, real
// processes, real batch files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ini_info.h"
#include "app/work_folder.h"
#include "core/path.h"
#include "install/install_steps.h"
#include "install/messages.h"
#include "install/report_launcher.h"
#include "install/vmware_prerequisite.h"
#include "payload/extract.h"
#include "payload/extract_worker.h"
#include "temp_folder.h"
#include "win/scoped.h"

namespace qx::install {
namespace {

using test::PathExists;
using test::ReadFile;
using test::TempFolder;

constexpr const char* kPresenceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vmware.exe";
constexpr const char* kVersionKey = "SOFTWARE\\VMware, Inc.\\VMware Workstation";

// The views a real VMware Workstation setup writes: App Paths in the native
// view, the version in the 32-bit one.
void RegisterVMware(const BYTE* data, DWORD size, DWORD type) {
  win::ScopedRegKey presence, version;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPresenceKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr,
                              presence.Receive(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr,
                              version.Receive(), nullptr),
            ERROR_SUCCESS);
  if (data) ::RegSetValueExA(version.Get(), "ProductVersion", 0, type, data, size);
}
void RegisterVMwareVersion(const std::string& text) {
  RegisterVMware(reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1), REG_SZ);
}
void UnregisterVMware() {
  ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kPresenceKey, KEY_WOW64_64KEY, 0);
  ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, KEY_WOW64_32KEY, 0);
}

bool Is64BitWindows() {
  BOOL wow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &wow64);
  return wow64 || sizeof(void*) == 8;
}

TEST(VMwareNeeded, OnlyAnInstalledVersion14CountsAsPresent) {
  UnregisterVMware();
  EXPECT_TRUE(VMwareNeeded()) << "nothing installed";
  RegisterVMware(nullptr, 0, REG_SZ);
  EXPECT_TRUE(VMwareNeeded()) << "no version value";
  RegisterVMwareVersion("14.1.1.28517");
  // 32-bit Windows has no 32-bit view under Wow6432Node: needed there.
  EXPECT_EQ(VMwareNeeded(), !Is64BitWindows()) << "14.1.1.28517";
  for (const char* other : {"15.0.0", "12.5.9", "", "v14", "140.1"}) {
    RegisterVMwareVersion(other);
    EXPECT_TRUE(VMwareNeeded()) << other;
  }
  const DWORD number = 14;
  RegisterVMware(reinterpret_cast<const BYTE*>(&number), sizeof number, REG_DWORD);
  EXPECT_TRUE(VMwareNeeded()) << "a number is no version text";
  const char unterminated[2] = {'1', '4'};
  RegisterVMware(reinterpret_cast<const BYTE*>(unterminated), sizeof unterminated, REG_SZ);
  EXPECT_TRUE(VMwareNeeded()) << "unterminated text";
  UnregisterVMware();
}

// A message-only window that collects what the workers post to it.
class Mailbox {
 public:
  Mailbox() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "QxTestMailbox";
    ::RegisterClassA(&wc);
    window_ = ::CreateWindowExA(0, "QxTestMailbox", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    instance_ = this;
  }
  ~Mailbox() {
    ::DestroyWindow(window_);
    instance_ = nullptr;
  }
  static HWND Window() { return instance_ ? instance_->window_ : nullptr; }

  struct Message {
    UINT id;
    WPARAM wParam;
  };
  // Everything posted until `last` arrives (or the time is up).
  std::vector<Message> Until(UINT last, DWORD timeoutMs) {
    std::vector<Message> seen;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
      MSG msg;
      while (::PeekMessageA(&msg, window_, 0, 0, PM_REMOVE)) {
        if (msg.message >= WM_USER) seen.push_back({msg.message, msg.wParam});
        if (msg.message == last) return seen;
      }
      ::Sleep(10);
    }
    return seen;
  }

 private:
  HWND window_ = nullptr;
  static Mailbox* instance_;
};
Mailbox* Mailbox::instance_ = nullptr;

TEST(PrerequisiteWorker, RunsTheSetupSilentlyFromAFolderWithCommandOperators) {
  UnregisterVMware();
  // Blanks, an ampersand, brackets and a percent sign: the batch line must
  // still start exactly this folder's setup with the silent options.
  TempFolder root("prereq");
  const std::string folder = root / "Tom & Jerry (100%)";
  test::MakeFolder(folder);
  ASSERT_TRUE(::CopyFileA(QX_SAMPLE_PROGRAMS "\\VMware14.exe", JoinPath(folder, "VMware14.exe").c_str(), FALSE));
  Mailbox mailbox;
  StartPrerequisiteWorker(folder, Mailbox::Window);
  const auto seen = mailbox.Until(WM_VMWARE_SETUP_DONE, 60000);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().id, WM_VMWARE_SETUP_DONE);
  EXPECT_EQ(seen.back().wParam, 0u);
  EXPECT_EQ(
      ReadFile(JoinPath(folder, "Vmware.bat")),
      "C:\\qxtest\\prereq\\\"Tom & Jerry (100%%)\"\\VMware14.exe /s /pass /v/qn REBOOT=Suppress "
      "EULAS_AGREED=1 INSTALLDIR=\"C:\\Program Files (x86)\\VMware\\VMware Workstation\" ADDLOCAL=ALL\r\nexit\r\n");
  // The stand-in registers itself only when its command line was right.
  win::ScopedRegKey version;
  EXPECT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, KEY_READ | KEY_WOW64_32KEY, version.Receive()),
            ERROR_SUCCESS);

  RemoveVMwareSetupFiles(folder);
  EXPECT_FALSE(PathExists(JoinPath(folder, "Vmware.bat")));
  EXPECT_FALSE(PathExists(JoinPath(folder, "VMware14.exe")));
  UnregisterVMware();
}

TEST(PrerequisiteWorker, ASetupThatCannotRunStillEndsTheWait) {
  TempFolder root("prereq-missing");  // no VMware14.exe in it
  Mailbox mailbox;
  StartPrerequisiteWorker(root.Path(), Mailbox::Window);
  const auto seen = mailbox.Until(WM_VMWARE_SETUP_DONE, 60000);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].id, WM_VMWARE_SETUP_DONE);
}

TEST(ReportLauncher, StagesWritesTheSettingsAndStartsTheReport) {
  CIniInfoManager::Instance().Clear();
  CIniInfoManager::Instance().AddEntry("TAMSOR_INFO", "DisplayVersion", "0.2.0.1760");
  TempFolder root("report");
  const std::string installFolder = root / "Program Files\\QX Simulator";
  test::MakeFolder(installFolder);
  ASSERT_TRUE(::CopyFileA(QX_SAMPLE_PROGRAMS "\\HttpInstallSubmit.exe",
                          JoinPath(installFolder, "HttpInstallSubmit.exe").c_str(), FALSE));
  const std::string reportFolder = ProductAppDataFolder();
  ASSERT_FALSE(reportFolder.empty());
  const std::string settings = JoinPath(reportFolder, "submitconfig.ini");
  const std::string report = JoinPath(reportFolder, "install-report.json");
  // An earlier install's file keeps what is not the installer's.
  test::MakeFolder(reportFolder);
  test::WriteFile(settings, "[USER]\r\nid=42\r\n[CONFIG]\r\ninstallPath=C:\\old\r\n");
  ::DeleteFileA(report.c_str());

  StageReportProgram(installFolder);
  LaunchReportProgram(installFolder);

  EXPECT_EQ(ReadFile(JoinPath(reportFolder, "HttpInstallSubmit.exe")),
            ReadFile(JoinPath(installFolder, "HttpInstallSubmit.exe")));
  char value[MAX_PATH] = {};
  ::GetPrivateProfileStringA("CONFIG", "installPath", "", value, sizeof value, settings.c_str());
  EXPECT_EQ(std::string(value), installFolder);
  ::GetPrivateProfileStringA("CONFIG", "Version", "", value, sizeof value, settings.c_str());
  EXPECT_EQ(std::string(value), "0.2.0.1760");
  ::GetPrivateProfileStringA("USER", "id", "", value, sizeof value, settings.c_str());
  EXPECT_EQ(std::string(value), "42");
  for (int i = 0; i < 300 && !PathExists(report); ++i) ::Sleep(50);
  EXPECT_NE(ReadFile(report).find("\"1760\""), std::string::npos) << ReadFile(report);
  CIniInfoManager::Instance().Clear();
}

TEST(RunProgram, ABlankInTheProgramPathNeverStartsAnotherProgram) {
  // Unquoted, "C:\qxtest\run\a b\x.exe" would first be tried as
  // "C:\qxtest\run\a.exe": a program anyone able to write there could plant.
  TempFolder root("run");
  test::MakeFolder(root / "a b");
  ASSERT_TRUE(::CopyFileA(QX_SAMPLE_PROGRAMS "\\QXBallonTips.exe", (root / "a.exe").c_str(), FALSE));
  ASSERT_TRUE(::CopyFileA(QX_SAMPLE_PROGRAMS "\\HttpInstallSubmit.exe", (root / "a b\\x.exe").c_str(), FALSE));
  test::WriteFile(root / "a b\\submitconfig.ini", "[CONFIG]\r\ninstallPath=C:\\x\r\nVersion=1.2\r\n");
  const std::string program = root / "a b\\x.exe";
  EXPECT_TRUE(RunProgram(std::string(1, '"').append(program).append("\" \"2_0\"")));
  const std::string report = root / "a b\\install-report.json";
  for (int i = 0; i < 300 && !PathExists(report); ++i) ::Sleep(50);
  EXPECT_TRUE(PathExists(report));
  ::Sleep(500);
  EXPECT_EQ(ReadFile(JoinPath(ProductAppDataFolder(), "sample-runs.log")).find("a.exe\t"), std::string::npos);
  EXPECT_FALSE(RunProgram(std::string(1, '"').append(root / "missing.exe").append(1, '"')));
}

TEST(ExtractWorker, AFailureIsOneMessageWithItsCode) {
  Mailbox mailbox;
  // This test program carries no payload behind its image.
  CExtractManager::GetInstance().SetLibraryPath(QX_CODEC_LIBRARY);
  qx::payload::StartExtractWorker("C:\\qxtest\\worker-out", Mailbox::Window);
  auto seen = mailbox.Until(WM_EXTRACT_FAILED, 30000);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].id, WM_EXTRACT_FAILED);
  EXPECT_EQ(static_cast<int>(static_cast<INT_PTR>(seen[0].wParam)), -5);

  // No library: -1 before any progress.
  CExtractManager::GetInstance().SetLibraryPath("");
  qx::payload::StartExtractWorker("C:\\qxtest\\worker-out", Mailbox::Window);
  seen = mailbox.Until(WM_EXTRACT_FAILED, 30000);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(static_cast<int>(static_cast<INT_PTR>(seen[0].wParam)), -1);
}

TEST(InstallSteps, RunInOrderOnTimerTicksWithTheirWaits) {
  Mailbox mailbox;
  InstallSteps steps;
  std::vector<int> order;
  DWORD added = 0, delayed = 0;
  steps.Add([&] { order.push_back(1); });
  steps.Add([&] {
    order.push_back(2);
    added = ::GetTickCount();
    // A step may add more; they run after the ones already waiting.
    steps.Add([&] { order.push_back(4); });
  });
  steps.Add(
      [&] {
        order.push_back(3);
        delayed = ::GetTickCount();
      },
      300);
  steps.Start(Mailbox::Window());
  for (int i = 0; i < 300 && steps.Pending(); ++i) {
    MSG msg;
    while (::PeekMessageA(&msg, Mailbox::Window(), 0, 0, PM_REMOVE))
      if (msg.message == WM_TIMER && msg.wParam == TIMER_INSTALL_STEP) steps.OnTimer(msg.hwnd);
    ::Sleep(10);
  }
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_GE(delayed - added, 250u);

  // When the run must end at once, what waits runs now, in order.
  order.clear();
  steps.Add([&] { order.push_back(5); });
  steps.Add([&] { order.push_back(6); }, 100);
  steps.Start(Mailbox::Window());
  steps.RunAllNow(Mailbox::Window());
  EXPECT_EQ(order, (std::vector<int>{5, 6}));
  EXPECT_FALSE(steps.Pending());
}

}  // namespace
}  // namespace qx::install
