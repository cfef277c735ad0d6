// The work folder on a real prefix: where it lies, what it holds, and that
// only files equal to the embedded resources are ever used.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/folder_ops.h"
#include "app/resource_ids.h"
#include "app/work_folder.h"
#include "temp_folder.h"
#include "win/own_resource.h"

namespace qx {
namespace {

class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CIniInfoManager::Instance().Clear();
    RemoveTree(WorkFolderPath());
  }
  void TearDown() override {
    CIniInfoManager::Instance().Clear();
    RemoveTree(WorkFolderPath());
  }
  static void RemoveTree(const std::string& path) {
    for (const char* name : {"7zTmp.dll", "info.ini"})
      ::SetFileAttributesA((path + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveFolderRecursively(path);
  }
  static std::string Resource(int id, const char* type) { return std::string(win::OwnResource(id, type)); }
};

TEST_F(WorkFolderTest, LiesInTheRootOfTheTemporaryFoldersDrive) {
  char original[MAX_PATH] = {};
  ::GetEnvironmentVariableA("TMP", original, sizeof original);
  test::MakeFolder("D:\\Temp\\x");
  ::SetEnvironmentVariableA("TMP", "D:\\Temp\\x\\");
  EXPECT_EQ(WorkFolderPath(), "D:\\qxextract");
  ::SetEnvironmentVariableA("TMP", original);
  EXPECT_EQ(WorkFolderPath(), "C:\\qxextract");
}

TEST_F(WorkFolderTest, PreparationWritesBothFilesAndLoadsTheSettings) {
  PreparedWorkFolder prepared = PrepareWorkFolder();
  EXPECT_EQ(prepared.path, "C:\\qxextract");
  EXPECT_EQ(test::ReadFile("C:\\qxextract\\7zTmp.dll"), Resource(QX_RES_CODEC_DLL, "EXEDLL"));
  EXPECT_EQ(test::ReadFile("C:\\qxextract\\info.ini"), Resource(QX_RES_SETTINGS_INI, "INI"));
  EXPECT_EQ(prepared.codecLibrary.Path(), "C:\\qxextract\\7zTmp.dll");
  EXPECT_EQ(prepared.uninstallValues.regeditKeyName, "QXSimulator");
  EXPECT_EQ(prepared.uninstallValues.displayIcon, "QXSimulator.exe");
  EXPECT_EQ(prepared.uninstallValues.uninstallString, "uninstall.exe");
  EXPECT_EQ(prepared.uninstallValues.displayName, "\xE1\xB0\xD6\xDB\xC4\xA3\xC4\xE2\xC6\xF7");  // GBK
}

TEST_F(WorkFolderTest, SecondRunReusesTheFolderAndReplacesTheFiles) {
  test::MakeFolder("C:\\qxextract");
  test::WriteFile("C:\\qxextract\\info.ini", std::string(100000, 'x'));  // longer than the resource
  test::WriteFile("C:\\qxextract\\other.txt", "kept");
  PreparedWorkFolder prepared = PrepareWorkFolder();
  EXPECT_EQ(test::ReadFile("C:\\qxextract\\info.ini"), Resource(QX_RES_SETTINGS_INI, "INI"));
  EXPECT_EQ(test::ReadFile("C:\\qxextract\\other.txt"), "kept");
  EXPECT_TRUE(prepared.codecLibrary.Verified());
}

TEST_F(WorkFolderTest, PlantedFilesThatCannotBeReplacedAreTreatedAsMissing) {
  // Anyone may create C:\\qxextract before the installer runs as administrator
  // and leave files there that the installer cannot overwrite: read-only ones
  // (which root under Wine still may write), or ones another process holds.
  test::MakeFolder("C:\\qxextract");
  test::WriteFile("C:\\qxextract\\7zTmp.dll", "planted library");
  test::WriteFile("C:\\qxextract\\info.ini", "[TAMSOR_INFO]\r\nRegeditKeyName=Planted\r\n");
  ::SetFileAttributesA("C:\\qxextract\\7zTmp.dll", FILE_ATTRIBUTE_READONLY);
  ::SetFileAttributesA("C:\\qxextract\\info.ini", FILE_ATTRIBUTE_READONLY);
  HANDLE holders[2];
  int i = 0;
  for (const char* name : {"C:\\qxextract\\7zTmp.dll", "C:\\qxextract\\info.ini"})
    holders[i++] = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  PreparedWorkFolder prepared = PrepareWorkFolder();
  for (HANDLE h : holders) ::CloseHandle(h);
  EXPECT_NE(test::ReadFile("C:\\qxextract\\7zTmp.dll"), Resource(QX_RES_CODEC_DLL, "EXEDLL"));
  EXPECT_FALSE(prepared.codecLibrary.Verified());
  EXPECT_EQ(prepared.codecLibrary.Path(), "");
  EXPECT_EQ(prepared.uninstallValues.regeditKeyName, "");
  EXPECT_EQ(CIniInfoManager::Instance().Count(), 0u);
}

TEST_F(WorkFolderTest, VerifiedFileCannotBeChangedWhileHeld) {
  PreparedWorkFolder prepared = PrepareWorkFolder();
  ASSERT_TRUE(prepared.codecLibrary.Verified());
  HANDLE writer = ::CreateFileA("C:\\qxextract\\7zTmp.dll", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
  EXPECT_FALSE(::DeleteFileA("C:\\qxextract\\7zTmp.dll"));
  EXPECT_FALSE(::MoveFileA("C:\\qxextract\\7zTmp.dll", "C:\\qxextract\\moved.dll"));
  // Loading it for reading still works (the engine loads the library from here).
  HANDLE reader = ::CreateFileA("C:\\qxextract\\7zTmp.dll", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  ::CloseHandle(reader);
  prepared.codecLibrary.Release();
  EXPECT_TRUE(::DeleteFileA("C:\\qxextract\\7zTmp.dll"));
}

TEST_F(WorkFolderTest, CleanLeavesNothingOfTheFolder) {
  PreparedWorkFolder prepared = PrepareWorkFolder();
  prepared.codecLibrary.Release();
  CleanWorkFolder();
  EXPECT_FALSE(test::PathExists("C:\\qxextract"));
  CleanWorkFolder();  // a second clean of a missing folder is harmless
}

TEST_F(WorkFolderTest, AppDataFolderIsCreatedOnce) {
  char appData[MAX_PATH] = {};
  ::GetEnvironmentVariableA("APPDATA", appData, sizeof appData);
  const std::string folder = std::string(appData) + "\\QXSimulator";
  ::RemoveDirectoryA(folder.c_str());
  EnsureAppDataFolder();
  EXPECT_TRUE(FolderExists(folder));
  test::WriteFile(folder + "\\keep.txt", "x");
  EnsureAppDataFolder();
  EXPECT_EQ(test::ReadFile(folder + "\\keep.txt"), "x");
}

}  // namespace
}  // namespace qx
