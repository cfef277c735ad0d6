// Removal of a fake earlier install made here: its entry, folders, list
// file and shortcuts; and what must survive around it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/ini_info.h"
#include "system/previous_install.h"
#include "system_support.h"
#include "temp_folder.h"

namespace qx {
namespace {

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
  return path;
}

std::wstring Desktop(const std::wstring& file) { return Folder(CSIDL_DESKTOPDIRECTORY) + L"\\" + file; }

class PreviousInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LoadSettingsText("[AUTO_RUN]\r\nAutoRunName1 = QXBallonTips.exe\r\n");
    previous_.displayName = test::kDisplayNameGbk;
    previous_.mainProgram = "QXSimulator.exe";
  }
  void TearDown() override { CIniInfoManager::Instance().Clear(); }

  // Shortcut files of an earlier install in every place it leaves them.
  void PlantShortcuts() {
    const std::wstring name = test::kDisplayNameWide;
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
      test::MakeFolder(WideToAnsiPath(Folder(csidl) + L"\\QXSimulator\\sub"));
      test::WriteWideFile(Folder(csidl) + L"\\QXSimulator\\" + name + L".lnk", "x");
    }
    test::WriteWideFile(Desktop(name + L".exe.lnk"), "x");
    const std::wstring quick = Folder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch";
    test::MakeFolder(WideToAnsiPath(quick));
    test::WriteWideFile(quick + L"\\" + name + L".lnk", "x");
    test::MakeFolder(WideToAnsiPath(Folder(CSIDL_STARTUP)));
    test::WriteWideFile(Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk", "x");
  }
  static std::string WideToAnsiPath(const std::wstring& wide) {
    char path[MAX_PATH] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, path, MAX_PATH, nullptr, nullptr);
    return path;
  }

  PreviousInstall previous_;
};

TEST_F(PreviousInstallTest, RemovesEverythingTheEntryAndTheListName) {
  test::TempFolder apps("apps");
  const std::string folder = apps / "QXSimulator";
  test::MakeFolder(folder + "\\bin\\deep");
  test::WriteFile(folder + "\\QXSimulator.exe", "x");
  test::WriteFile(folder + "\\bin\\deep\\data.bin", "x");
  test::MakeFolder(apps / "sibling");
  test::WriteFile(apps / "sibling\\keep.txt", "x");
  test::TempFolder other("elsewhere");
  for (const char* name : {"a.txt", "b.txt", "c.txt", "before.txt", "untouched.txt"})
    test::WriteFile(other / name, "x");
  test::MakeFolder(other / "dir\\inner");
  test::WriteFile(other / "dir\\inner\\f.txt", "x");
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  test::WriteFile(apps / "DeleteFile.xml",
                  "<?xml version=\"1.0\"?>\n<List>\n"
                  "<DeleteFiles><Note>" +
                      other / "before.txt" +
                      "</Note>"
                      "<DeleteFile>" +
                      other / "a.txt" +
                      "</DeleteFile>"
                      "<Other>" +
                      other / "b.txt" +
                      "</Other>"
                      "<DeleteFile>" +
                      other / "c.txt" +
                      "</DeleteFile></DeleteFiles>\n"
                      "<DeleteFolders><DeleteFolder>" +
                      other / "dir" +
                      "</DeleteFolder>"
                      "<DeleteFolder>C:\\</DeleteFolder><DeleteFolder>" +
                      windows +
                      "</DeleteFolder>"
                      "<DeleteFolder>qxtest</DeleteFolder></DeleteFolders>\n</List>\n");
  PlantShortcuts();
  test::WriteWideFile(Desktop(std::wstring(test::kDisplayNameWide) + L".lnk"), "x");

  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QXOld", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string icon = folder + "\\QXSimulator.exe";
  ::RegSetValueExA(key, "DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(icon.c_str()),
                   static_cast<DWORD>(icon.size() + 1));
  ::RegCloseKey(key);
  FindPreviousInstall("QXOld", previous_.folder);
  ASSERT_EQ(previous_.folder, folder);

  RemovePreviousInstall(previous_);

  EXPECT_FALSE(test::PathExists(folder));
  for (const char* gone : {"a.txt", "b.txt", "c.txt", "dir"}) EXPECT_FALSE(test::PathExists(other / gone)) << gone;
  for (const char* kept : {"before.txt", "untouched.txt"}) EXPECT_TRUE(test::PathExists(other / kept)) << kept;
  EXPECT_TRUE(test::PathExists(apps / "sibling\\keep.txt"));
  EXPECT_TRUE(test::PathExists(apps / "DeleteFile.xml"));
  EXPECT_TRUE(test::PathExists(std::string(windows) + "\\system32"));
  EXPECT_TRUE(test::PathExists("C:\\qxtest"));

  const std::wstring name = test::kDisplayNameWide;
  for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
    EXPECT_FALSE(test::WideExists(Folder(csidl) + L"\\QXSimulator")) << csidl;
  EXPECT_FALSE(test::WideExists(Desktop(name + L".exe.lnk")));
  EXPECT_TRUE(test::WideExists(Desktop(name + L".lnk")));  // only one desktop shortcut per removal
  EXPECT_FALSE(
      test::WideExists(Folder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\" + name + L".lnk"));
  EXPECT_FALSE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk"));

  // A second removal finds the plain desktop shortcut.
  test::MakeFolder(folder);
  RemovePreviousInstall(previous_);
  EXPECT_FALSE(test::WideExists(Desktop(name + L".lnk")));
}

TEST_F(PreviousInstallTest, NoFolderMeansNothingIsTouched) {
  PlantShortcuts();
  RemovePreviousInstall(previous_);
  const std::wstring name = test::kDisplayNameWide;
  EXPECT_TRUE(test::WideExists(Desktop(name + L".exe.lnk")));
  EXPECT_TRUE(test::WideExists(Folder(CSIDL_PROGRAMS) + L"\\QXSimulator\\" + name + L".lnk"));
  EXPECT_TRUE(test::WideExists(Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk"));
  // A folder that a recursive removal refuses is not an install to remove.
  previous_.folder = "C:\\";
  RemovePreviousInstall(previous_);
  EXPECT_TRUE(test::WideExists(Desktop(name + L".exe.lnk")));
  ::DeleteFileW(Desktop(name + L".exe.lnk").c_str());
  ::DeleteFileW((Folder(CSIDL_STARTUP) + L"\\QXBallonTips.lnk").c_str());
}

TEST_F(PreviousInstallTest, DriveRootInstallReadsTheRootList) {
  test::TempFolder other("rootlist");
  test::WriteFile(other / "x.txt", "x");
  test::WriteFile("C:\\DeleteFile.xml",
                  "<r><DeleteFiles><DeleteFile>" + other / "x.txt" + "</DeleteFile></DeleteFiles></r>");
  ApplyDeleteList("C:\\QXSimulator");
  EXPECT_FALSE(test::PathExists(other / "x.txt"));
  ::DeleteFileA("C:\\DeleteFile.xml");
}

// The runner's fixture: C:\qxlinks\install holds a junction to
// C:\qxlinks\outside, which no removal may reach.
TEST_F(PreviousInstallTest, JunctionTargetInsideTheFolderSurvives) {
  ASSERT_EQ(test::ReadFile("C:\\qxlinks\\outside\\precious.txt"), "keep me\n");
  previous_.folder = "C:\\qxlinks\\install";
  RemovePreviousInstall(previous_);
  EXPECT_EQ(test::ReadFile("C:\\qxlinks\\outside\\precious.txt"), "keep me\n");
}

// Removal finds the shortcut that creation named from GBK, whatever the
// system's code page (this also runs under a non-Chinese locale).
TEST_F(PreviousInstallTest, ChineseDesktopShortcutOnAnyCodePage) {
  test::TempFolder install("QXSimulator");
  previous_.folder = install.Path();
  const std::wstring link = Desktop(std::wstring(test::kDisplayNameWide) + L".exe.lnk");
  test::WriteWideFile(link, "x");
  ASSERT_TRUE(test::WideExists(link));
  RemovePreviousInstall(previous_);
  EXPECT_FALSE(test::WideExists(link));
}

TEST(FileExistsCheck, FilesOnly) {
  test::TempFolder folder("file-exists");
  test::WriteFile(folder / "f", "x");
  EXPECT_TRUE(FileExists(folder / "f"));
  EXPECT_FALSE(FileExists(folder.Path()));
  EXPECT_FALSE(FileExists(folder / "missing"));
}

}  // namespace
}  // namespace qx
