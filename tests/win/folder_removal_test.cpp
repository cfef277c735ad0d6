// Folder operations on a real prefix, including the refusals that protect
// the system when an earlier install's folder is removed as administrator.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/folder_ops.h"
#include "app/listed_removal.h"
#include "win/scoped.h"
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

// An install folder the user filled, with links the user made: the listed
// files go (read-only ones too), nothing is reached through a link, emptied
// folders go, and what the list does not name is what is reported.
TEST(RemoveByList, RemovesOnlyListedFilesAndNeverThroughALink) {
  const std::wstring folder = L"C:\\qxlinks\\install";
  const std::string precious = "C:\\qxlinks\\outside\\precious.txt";
  test::MakeFolder("C:\\qxlinks\\install\\userdir");
  test::MakeFolder("C:\\qxlinks\\install\\empty");
  for (const char* file : {"own.txt", "sub\\own.txt", "ro.txt", "user.txt", "userdir\\save.dat"})
    test::WriteFile("C:\\qxlinks\\install\\" + std::string(file), "x");
  ::SetFileAttributesA("C:\\qxlinks\\install\\ro.txt", FILE_ATTRIBUTE_READONLY);

  const std::vector<std::wstring> files = {L"own.txt",     L"sub\\own.txt",           L"ro.txt",
                                           L"missing.txt", L"junction\\precious.txt", L"sub\\deeper\\precious.txt",
                                           L"userdir"};
  EXPECT_TRUE(DeleteListedFiles(folder, files).empty());
  EXPECT_EQ(test::ReadFile(precious), "keep me\n");
  for (const char* gone : {"own.txt", "sub\\own.txt", "ro.txt"})
    EXPECT_FALSE(test::PathExists("C:\\qxlinks\\install\\" + std::string(gone))) << gone;
  EXPECT_TRUE(test::PathExists("C:\\qxlinks\\install\\userdir\\save.dat"));  // listed as a file, is a folder

  const std::vector<std::wstring> folders = {L"sub\\deeper", L"sub", L"junction", L"empty"};
  RemoveEmptiedFolders(folder, folders);
  EXPECT_FALSE(test::PathExists("C:\\qxlinks\\install\\empty"));
  EXPECT_TRUE(test::PathExists("C:\\qxlinks\\install\\sub"));  // still holds the user's link
  EXPECT_EQ(test::ReadFile(precious), "keep me\n");

  std::vector<std::wstring> listed = files;
  listed.insert(listed.end(), folders.begin(), folders.end());
  for (auto& path : listed)
    if (path == L"own.txt") path = L"OWN.TXT";  // letter case does not count
  std::vector<std::wstring> kept = UnlistedItems(folder, listed);
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, (std::vector<std::wstring>{L"user.txt", L"userdir\\save.dat"}));

  EXPECT_TRUE(ReachedThroughLink(L"C:\\qxlinks\\toplink", L"precious.txt"));
  EXPECT_TRUE(ReachedThroughLink(folder, L"sub\\deeper\\precious.txt"));
  EXPECT_FALSE(ReachedThroughLink(folder, L"sub\\own.txt"));
}

TEST(RemoveByList, FilesHeldOpenAreReportedNotLost) {
  test::TempFolder folder("held");
  test::WriteFile(folder / "held.dll", "x");
  test::WriteFile(folder / "free.dll", "x");
  win::ScopedHandle holder(
      ::CreateFileA((folder / "held.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder.Valid());
  const std::wstring wide(folder.Path().begin(), folder.Path().end());
  EXPECT_EQ(DeleteListedFiles(wide, {L"held.dll", L"free.dll"}), std::vector<std::wstring>{L"held.dll"});
  EXPECT_TRUE(test::PathExists(folder / "held.dll"));
  EXPECT_FALSE(test::PathExists(folder / "free.dll"));
}

}  // namespace
}  // namespace qx
