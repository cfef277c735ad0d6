// Folder operations on a real prefix, including the refusals that protect
// the system when an earlier install's folder is removed as administrator.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/folder_ops.h"
#include "temp_folder.h"

namespace qx {
namespace {

std::string Special(int csidl) {
  char path[MAX_PATH] = {};
  ::SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return path;
}

TEST(FolderExists, OnlyDirectoriesCount) {
  test::TempFolder folder("exists");
  test::WriteFile(folder / "file", "x");
  EXPECT_TRUE(FolderExists(folder.Path()));
  EXPECT_FALSE(FolderExists(folder / "file"));
  EXPECT_FALSE(FolderExists(folder / "missing"));
}

TEST(RemoveFolder, RemovesNestedReadOnlyHiddenAndEmptyEntries) {
  for (const char* suffix : {"", "\\"}) {
    test::TempFolder folder("tree");
    test::MakeFolder(folder / "a\\b\\c");
    test::MakeFolder(folder / "empty");
    test::WriteFile(folder / "a\\b\\c\\deep.txt", "x");
    test::WriteFile(folder / "ro.txt", "x");
    test::WriteFile(folder / "a\\hidden.sys", "x");
    ::SetFileAttributesA((folder / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesA((folder / "a\\hidden.sys").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesA((folder / "a").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(RemoveFolderRecursively(folder.Path() + suffix)) << suffix;
    EXPECT_FALSE(test::PathExists(folder.Path())) << suffix;
  }
}

TEST(RemoveFolder, MissingFolderGivesFalse) {
  test::TempFolder parent("missing");
  EXPECT_FALSE(RemoveFolderRecursively(parent / "nothing"));
  EXPECT_TRUE(test::PathExists(parent.Path()));
}

TEST(RemoveFolder, RefusesEmptyRelativeRootAndSystemFolders) {
  test::TempFolder bait("bait");  // would be deleted if a refusal failed
  test::WriteFile(bait / "keep.txt", "x");
  EXPECT_EQ(CheckFolderRemoval(""), RemovalVerdict::kEmpty);
  EXPECT_EQ(CheckFolderRemoval("qxtest"), RemovalVerdict::kRelative);
  EXPECT_EQ(CheckFolderRemoval("\\qxtest"), RemovalVerdict::kRelative);
  EXPECT_EQ(CheckFolderRemoval("C:qxtest"), RemovalVerdict::kRelative);
  for (const char* root : {"C:\\", "C:", "c:/", "D:\\"})
    EXPECT_EQ(CheckFolderRemoval(root), RemovalVerdict::kDriveRoot);
  EXPECT_EQ(CheckFolderRemoval("C:\\qxtest\\.."), RemovalVerdict::kDriveRoot);
  for (int csidl : {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES, CSIDL_COMMON_APPDATA, CSIDL_PROFILE,
                    CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA}) {
    const std::string path = Special(csidl);
    ASSERT_FALSE(path.empty()) << csidl;
    EXPECT_EQ(CheckFolderRemoval(path), RemovalVerdict::kSystemFolder) << path;
    EXPECT_EQ(CheckFolderRemoval(path + "\\"), RemovalVerdict::kSystemFolder) << path;
  }
  EXPECT_EQ(CheckFolderRemoval("C:\\users"), RemovalVerdict::kSystemFolder);
  EXPECT_EQ(CheckFolderRemoval("C:\\PROGRAM FILES"), RemovalVerdict::kSystemFolder);
  EXPECT_EQ(CheckFolderRemoval("C:\\qxtest\\..\\windows"), RemovalVerdict::kSystemFolder);
  EXPECT_FALSE(RemoveFolderRecursively("C:\\qxtest\\bait\\..\\.."));
  EXPECT_TRUE(test::PathExists(bait / "keep.txt"));
  EXPECT_EQ(CheckFolderRemoval("C:\\Program Files\\QXSimulator"), RemovalVerdict::kAllowed);
  EXPECT_EQ(CheckFolderRemoval(Special(CSIDL_APPDATA) + "\\QXSimulator"), RemovalVerdict::kAllowed);
}

TEST(RemoveFolder, RemovesNamesTheAnsiCodePageCannotSpellOnAnyCodePage) {
  test::TempFolder folder("wide");
  const std::wstring wide = L"C:\\qxtest\\wide\\\u5c9a\u821f";
  ASSERT_TRUE(::CreateDirectoryW(wide.c_str(), nullptr));
  const HANDLE file = ::CreateFileW((wide + L"\\\u5c9a\u821f\u6a21\u62df\u5668.lnk").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ::CloseHandle(file);
  EXPECT_TRUE(RemoveFolderRecursively(folder.Path()));
  EXPECT_EQ(::GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(test::PathExists(folder.Path()));
}

// The runner provides C:\\qxlinks: an install folder holding links to a
// folder outside it, and a link to that folder. (Wine cannot delete a link
// without following it, so there the links stay; on Windows they go.)
TEST(RemoveFolder, NeverRemovesWhatALinkPointsTo) {
  const std::string precious = "C:\\qxlinks\\outside\\precious.txt";
  ASSERT_EQ(test::ReadFile(precious), "keep me\n");
  ASSERT_NE(::GetFileAttributesA("C:\\qxlinks\\install\\junction") & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  test::WriteFile("C:\\qxlinks\\install\\own.txt", "x");
  test::WriteFile("C:\\qxlinks\\install\\sub\\own.txt", "x");
  EXPECT_TRUE(RemoveFolderRecursively("C:\\qxlinks\\install"));
  EXPECT_FALSE(test::PathExists("C:\\qxlinks\\install\\own.txt"));
  EXPECT_FALSE(test::PathExists("C:\\qxlinks\\install\\sub\\own.txt"));
  EXPECT_EQ(test::ReadFile(precious), "keep me\n");

  // Given the link itself, at most the link goes.
  EXPECT_TRUE(RemoveFolderRecursively("C:\\qxlinks\\toplink\\"));
  EXPECT_EQ(test::ReadFile(precious), "keep me\n");
}

}  // namespace
}  // namespace qx
