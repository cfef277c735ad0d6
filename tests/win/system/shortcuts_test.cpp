// Shortcuts in the prefix's real special folders, read back through the
// shell-link interface, and the pin command seen by a stand-in syspin.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/ini_info.h"
#include "system/auto_start.h"
#include "system/shortcuts.h"
#include "system_support.h"
#include "temp_folder.h"

namespace qx {
namespace {

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
  return path;
}

std::wstring StartMenuFolder() { return Folder(CSIDL_STARTMENU) + L"\\Programs\\QXSimulator"; }

// The stand-in syspin's record of its command line, once it has run.
std::string WaitForPinCommand(const std::string& installFolder) {
  const std::string record = installFolder + "\\syspin-command.txt";
  for (int i = 0; i < 200 && !test::PathExists(record); ++i) ::Sleep(50);
  return test::ReadFile(record);
}

class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeFolder(install_);
    ::CopyFileA(test::HelperProgram("qx_syspin_stub.exe").c_str(), (install_ + "\\syspin.exe").c_str(), FALSE);
    test::LoadSettingsText(
        "[AUTO_RUN]\r\nAutoRunName1 = QXBallonTips.exe\r\nAutoRunName2 = Other.exe\r\nautorunname1 = lower.exe\r\n"
        "AutoRunName1 = tray.bat\r\n");
    options_.installFolder = install_;
    options_.mainProgram = "QXSimulator.exe";
    options_.uninstallProgram = "uninstall.exe";
    options_.displayName = test::kDisplayNameGbk;
  }
  void TearDown() override {
    for (const std::wstring& link :
         {Folder(CSIDL_DESKTOP) + L"\\" + test::kDisplayNameWide + L".lnk", Folder(CSIDL_STARTUP) + L"\\tray.lnk",
          Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk"})
      ::DeleteFileW(link.c_str());
    CIniInfoManager::Instance().Clear();
  }

  test::TempFolder root_{"shortcuts"};
  const std::string install_ = root_ / "Program Files\\QXSimulator";
  InstallShortcutOptions options_;
};

TEST_F(ShortcutTest, QuickInstallCreatesEveryShortcutAndPins) {
  // An earlier file of the same path is replaced.
  test::WriteWideFile(Folder(CSIDL_DESKTOP) + L"\\" + test::kDisplayNameWide + L".lnk", "not a shortcut");
  CreateInstallShortcuts(options_);

  const std::wstring name = test::kDisplayNameWide;
  const struct {
    std::wstring link;
    std::string target;
  } expected[] = {
      {StartMenuFolder() + L"\\" + name + L".lnk", install_ + "\\QXSimulator.exe"},
      {StartMenuFolder() + L"\\\u5378\u8F7D" + name + L".lnk", install_ + "\\uninstall.exe"},
      {Folder(CSIDL_DESKTOP) + L"\\" + name + L".lnk", install_ + "\\QXSimulator.exe"},
      {Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk", install_ + "\\QXBallonTips.exe"},
      {Folder(CSIDL_STARTUP) + L"\\tray.lnk", install_ + "\\tray.bat"},
  };
  for (const auto& e : expected) {
    const test::ShortcutContent link = test::ReadShortcut(e.link);
    ASSERT_TRUE(link.loaded) << e.target;
    EXPECT_EQ(link.target, e.target);
    EXPECT_EQ(link.description, "");
    EXPECT_EQ(link.showCommand, SW_SHOW);
  }
  EXPECT_FALSE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\Other.lnk"));
  EXPECT_FALSE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\lower.lnk"));

  EXPECT_EQ(WaitForPinCommand(install_), "\"" + install_ + "\\syspin\" \"" + install_ + "\\QXSimulator.exe\" c:5386");
}

TEST_F(ShortcutTest, ClearedOptionsLeaveOnlyTheStartMenu) {
  options_.desktopShortcut = false;
  options_.autoStart = false;
  CreateInstallShortcuts(options_);
  EXPECT_TRUE(test::ReadShortcut(StartMenuFolder() + L"\\" + test::kDisplayNameWide + L".lnk").loaded);
  EXPECT_FALSE(test::WideExists(Folder(CSIDL_DESKTOP) + L"\\" + test::kDisplayNameWide + L".lnk"));
  EXPECT_FALSE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk"));
  EXPECT_FALSE(WaitForPinCommand(install_).empty());  // the pin still runs

  options_.taskbarPin = false;
  ::DeleteFileA((install_ + "\\syspin-command.txt").c_str());
  CreateInstallShortcuts(options_);
  ::Sleep(1000);
  EXPECT_FALSE(test::PathExists(install_ + "\\syspin-command.txt"));
}

TEST_F(ShortcutTest, AutoStartShortcutsAreRemovedByName) {
  CreateAutoStartShortcuts(StartupFolder(), install_);
  ASSERT_TRUE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\tray.lnk"));
  test::WriteWideFile(Folder(CSIDL_STARTUP) + L"\\Other.lnk", "unrelated");
  RemoveAutoStartShortcuts();
  EXPECT_FALSE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\tray.lnk"));
  EXPECT_FALSE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk"));
  EXPECT_TRUE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\Other.lnk"));
  ::DeleteFileW((Folder(CSIDL_STARTUP) + L"\\Other.lnk").c_str());
}

TEST_F(ShortcutTest, EveryKindSavesUnderItsFolder) {
  EXPECT_TRUE(CreateShortcut(ShortcutKind::kQuickLaunch, install_ + "\\QXSimulator.exe", "QXQuick"));
  const std::wstring quick = Folder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\QXQuick.lnk";
  EXPECT_EQ(test::ReadShortcut(quick).target, install_ + "\\QXSimulator.exe");
  EXPECT_EQ(test::Wide(QuickLaunchFolder()), Folder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch");
  // An empty display name still gives a file, named ".lnk".
  EXPECT_TRUE(CreateShortcut(ShortcutKind::kDesktop, install_ + "\\QXSimulator.exe", ""));
  EXPECT_TRUE(test::WideExists(Folder(CSIDL_DESKTOP) + L"\\.lnk"));
  ::DeleteFileW(quick.c_str());
  ::DeleteFileW((Folder(CSIDL_DESKTOP) + L"\\.lnk").c_str());
}

// The name is GBK text from the settings; the file must carry the Chinese
// name whatever the system's code page (this also runs under a non-Chinese
// locale, see the CMake file).
TEST_F(ShortcutTest, ChineseNameOnAnyCodePage) {
  if (std::getenv("QX_EXPECT_NOT_936")) {
    EXPECT_NE(::GetACP(), 936u);
  }
  EXPECT_TRUE(CreateShortcut(ShortcutKind::kDesktop, install_ + "\\QXSimulator.exe", test::kDisplayNameGbk));
  EXPECT_TRUE(test::ReadShortcut(Folder(CSIDL_DESKTOP) + L"\\" + test::kDisplayNameWide + L".lnk").loaded);
}

}  // namespace
}  // namespace qx
