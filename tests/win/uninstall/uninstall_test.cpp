// The uninstaller's proof of an install against real folders, links and
// registry entries, and its refusal of handles that are not what a
// hand-typed worker line claims.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/ini_info.h"
#include "payload/install_manifest.h"
#include "system/uninstall_entry.h"
#include "system/uninstall_values.h"
#include "temp_folder.h"
#include "uninstall/hand_over.h"
#include "uninstall/install_record.h"
#include "win/scoped.h"

namespace qx::uninstall {
namespace {

const char kSettings[] =
    "[TAMSOR_INFO]\r\nRegeditKeyName=QXUninstallTest\r\nDisplayIcon=QXSimulator.exe\r\nDisplayName=QX\r\n"
    "UninstallString=uninstall.exe\r\n[KILL_PROGRESS]\r\nProgress=QXSimulator.exe\r\n";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A folder holding a whole record, the main program and the uninstaller.
void MakeInstall(const std::string& folder) {
  test::WriteFile(folder + "\\QXSimulator.exe", "MZ");
  test::WriteFile(folder + "\\uninstall.exe", "MZ");
  test::WriteFile(folder + "\\uninstall.ini", kSettings);
  test::WriteFile(
      folder + "\\uninstall.lst",
      payload::RenderItemList(
          {{false, "QXSimulator.exe"}, {false, "uninstall.exe"}, {false, "uninstall.ini"}, {false, "uninstall.lst"}}));
}

void SetEntry(const std::string& icon, const std::string& uninstall) {
  win::ScopedRegKey key;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKeyRoot) + "QXUninstallTest").c_str(), 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key.Get(), "DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(icon.c_str()),
                   static_cast<DWORD>(icon.size() + 1));
  ::RegSetValueExA(key.Get(), "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(uninstall.c_str()),
                   static_cast<DWORD>(uninstall.size() + 1));
}

Refusal Prove(const std::string& folder) {
  CIniInfoManager::Instance().Clear();
  InstallRecord record;
  return ProveInstall(Wide(folder), record);
}

TEST(ProveInstall, TheRecordTheMainProgramAndTheEntryMustAgree) {
  test::TempFolder install("prove");
  const std::string folder = install.Path();
  EXPECT_EQ(Prove(folder), Refusal::kNoRecord);
  MakeInstall(folder);
  EXPECT_EQ(Prove(folder), Refusal::kProved);  // no entry: the files may still go
  EXPECT_EQ(Prove(folder + "\\"), Refusal::kProved);

  SetEntry(folder + "\\QXSimulator.exe", folder + "\\uninstall.exe");
  EXPECT_EQ(Prove(folder), Refusal::kProved);
  SetEntry("C:\\QXSimulator.exe", folder + "\\uninstall.exe");
  EXPECT_EQ(Prove(folder), Refusal::kEntryElsewhere);
  SetEntry(folder + "\\QXSimulator.exe", "C:\\windows\\uninstall.exe");
  EXPECT_EQ(Prove(folder), Refusal::kEntryElsewhere);
  SetEntry("\"" + folder + "\\QXSimulator.exe\"", "\"" + folder + "\\uninstall.exe\"");
  EXPECT_EQ(Prove(folder), Refusal::kProved);
  RemoveUninstallEntry("QXUninstallTest");
  EXPECT_FALSE(ReadUninstallEntryPaths("QXUninstallTest").present);

  // A cut-off list, or one without the main program, proves nothing.
  test::WriteFile(folder + "\\uninstall.lst", "qx-item-list 1\r\nF QXSimulator.exe\r\n");
  EXPECT_EQ(Prove(folder), Refusal::kNoRecord);
  test::WriteFile(folder + "\\uninstall.lst", payload::RenderItemList({{false, "uninstall.exe"}}));
  EXPECT_EQ(Prove(folder), Refusal::kNoMainProgram);
  MakeInstall(folder);
  ::DeleteFileA((folder + "\\QXSimulator.exe").c_str());
  EXPECT_EQ(Prove(folder), Refusal::kNoMainProgram);
}

TEST(ProveInstall, RootsSystemFoldersAndLinksAreRefused) {
  // The runner's C:\qxlinks\toplink is a link to another folder.
  EXPECT_EQ(Prove("C:\\qxlinks\\toplink"), Refusal::kFolderIsLink);
  for (const char* folder : {"C:\\", "C:\\windows", "C:\\windows\\system32", "C:\\users"})
    EXPECT_EQ(Prove(folder), Refusal::kUnsafeFolder) << folder;
  // The user's profile and documents, even holding a whole install record.
  for (int csidl : {CSIDL_PROFILE, CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY}) {
    char path[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE));
    MakeInstall(path);
    EXPECT_EQ(Prove(path), Refusal::kUnsafeFolder) << path;
  }
}

TEST(WorkerLine, HandlesThatAreNotWhatTheyClaimAreNotUsed) {
  test::TempFolder folder("handles");
  win::ScopedHandle file(::CreateFileA((folder / "f").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file.Valid());
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  win::ScopedHandle reader(readEnd), writer(writeEnd);
  const auto number = [](HANDLE h) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h)); };
  Arguments args;
  args.worker = true;
  args.resultPipe = number(file.Get());  // a file, not a pipe
  args.originalProcess = number(::GetCurrentProcess());
  EXPECT_FALSE(Original(args).Valid());
  args.resultPipe = number(writer.Get());
  args.originalProcess = number(file.Get());  // not a process
  Arguments copy = args;
  writer.Release();  // Original takes ownership of what it accepts
  EXPECT_FALSE(Original(copy).Valid());
  EXPECT_EQ(test::ReadFile(folder / "f"), "");
}

}  // namespace
}  // namespace qx::uninstall
