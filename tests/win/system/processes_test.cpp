// Finding and ending real processes started under the product's names.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/ini_info.h"
#include "system/processes.h"
#include "system_support.h"
#include "temp_folder.h"

namespace qx {
namespace {

class ProcessTest : public ::testing::Test {
 protected:
  ~ProcessTest() override {
    for (HANDLE process : started_) {
      ::TerminateProcess(process, 0);
      ::WaitForSingleObject(process, 5000);
      ::CloseHandle(process);
    }
  }

  // Starts a copy of the helper named `name` and waits until the process
  // list shows it.
  HANDLE Start(const std::string& name) {
    const std::string program = folder_ / name;
    ::CopyFileA(test::HelperProgram("qx_sleeper.exe").c_str(), program.c_str(), FALSE);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string command = "\"" + program + "\"";
    if (!::CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
      return nullptr;
    ::CloseHandle(info.hThread);
    started_.push_back(info.hProcess);
    ::WaitForInputIdle(info.hProcess, 2000);
    for (int i = 0; i < 100 && !IsProcessRunning(name.c_str()); ++i) ::Sleep(50);
    return info.hProcess;
  }

  static bool Ends(HANDLE process) { return ::WaitForSingleObject(process, 5000) == WAIT_OBJECT_0; }
  static bool StillRuns(HANDLE process) { return ::WaitForSingleObject(process, 300) == WAIT_TIMEOUT; }

  test::TempFolder folder_{"processes"};
  std::vector<HANDLE> started_;
};

TEST_F(ProcessTest, RunningCheckIgnoresCaseKillDoesNot) {
  HANDLE simulator = Start("QXSimulator.exe");
  ASSERT_TRUE(simulator);
  EXPECT_TRUE(IsProcessRunning("QXSimulator.exe"));
  EXPECT_TRUE(IsProcessRunning("qxsimulator.EXE"));
  EXPECT_FALSE(IsProcessRunning("QXSimulator"));
  EXPECT_FALSE(IsProcessRunning(""));
  EXPECT_FALSE(IsProcessRunning(nullptr));
  EXPECT_FALSE(KillProcessByName(nullptr));

  EXPECT_TRUE(KillProcessByName("qxsimulator.exe"));  // nothing matched, so nothing failed
  EXPECT_TRUE(StillRuns(simulator));
  EXPECT_TRUE(KillProcessByName("QXSimulator.exe"));
  EXPECT_TRUE(Ends(simulator));
}

TEST_F(ProcessTest, OneKillEndsEveryProcessOfTheName) {
  HANDLE first = Start("QXSimulator.exe");
  HANDLE second = Start("QXSimulator.exe");
  HANDLE other = Start("QXBallonTips.exe");
  ASSERT_TRUE(first && second && other);
  EXPECT_TRUE(KillProcessByName("QXSimulator.exe"));
  EXPECT_TRUE(Ends(first));
  EXPECT_TRUE(Ends(second));
  EXPECT_TRUE(StillRuns(other));
}

TEST_F(ProcessTest, StopUsesTheFirstProgressKeyAndSkipsEmptyPieces) {
  HANDLE tips = Start("QXBallonTips.exe");
  HANDLE simulator = Start("QXSimulator.exe");
  HANDLE helper = Start("QXHelper.exe");
  ASSERT_TRUE(tips && simulator && helper);
  test::LoadSettingsText(
      "[KILL_PROGRESS]\r\nprogress = QXSimulator.exe\r\nProgress = ;QXBallonTips.exe;;qxhelper.exe;\r\n"
      "Progress = QXSimulator.exe\r\n");
  const DWORD start = ::GetTickCount();
  StopProductProcesses();
  // The tick count and the sleep's clock differ by a tick or two.
  EXPECT_GE(::GetTickCount() - start, 270u);
  EXPECT_TRUE(Ends(tips));
  EXPECT_TRUE(StillRuns(simulator));  // only in keys that do not count
  EXPECT_TRUE(StillRuns(helper));     // listed in other letter case
  CIniInfoManager::Instance().Clear();
}

TEST_F(ProcessTest, StopWithoutListOnlyWaits) {
  HANDLE simulator = Start("QXSimulator.exe");
  ASSERT_TRUE(simulator);
  CIniInfoManager::Instance().Clear();
  const DWORD start = ::GetTickCount();
  StopProductProcesses();
  // The tick count and the sleep's clock differ by a tick or two.
  EXPECT_GE(::GetTickCount() - start, 270u);
  EXPECT_TRUE(StillRuns(simulator));
}

}  // namespace
}  // namespace qx
