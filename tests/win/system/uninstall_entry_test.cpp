// The uninstall entry written to and read back from the registry, and the
// earlier install's folder derived from it.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/ini_info.h"
#include "system/previous_install.h"
#include "system/uninstall_entry.h"
#include "system_support.h"

namespace qx {
namespace {

const std::string kRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct Value {
  bool found = false;
  DWORD type = 0;
  std::string bytes;
  DWORD dword() const { return bytes.size() == 4 ? *reinterpret_cast<const DWORD*>(bytes.data()) : 0xBADu; }
};

Value Read(const std::string& keyName, const char* name, REGSAM view = 0) {
  Value value;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kRoot + keyName).c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
    return value;
  char data[1024] = {};
  DWORD size = sizeof data;
  value.found =
      ::RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
  value.bytes.assign(data, size);
  ::RegCloseKey(key);
  return value;
}

bool KeyExists(const std::string& keyName, REGSAM view) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kRoot + keyName).c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(key);
  return true;
}

void WriteIcon(const std::string& keyName, DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kRoot + keyName).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, "DisplayIcon", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
  ::RegCloseKey(key);
}

bool IsWow64() {
  BOOL wow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &wow64);
  return wow64;
}

TEST(UninstallEntry, SectionBecomesTheEntryAndLeadsBackToTheFolder) {
  WriteIcon("QXEntryTest", REG_SZ, std::string("old\0", 4));
  HKEY key = nullptr;
  ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kRoot + "QXEntryTest").c_str(), 0, KEY_SET_VALUE, &key);
  ::RegSetValueExA(key, "Leftover", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  ::RegCloseKey(key);

  test::LoadSettingsText(std::string("[TAMSOR_INFO]\r\nRegeditKeyName\t=\tQXEntryTest\r\n") +
                         "DisplayIcon\t=\tQXSimulator.exe\r\nDisplayName\t=\tfirst\r\n"
                         "MyVersion\t=\t1760\r\nNoModify = 1\t\r\nDisplayVersion = 0.2.0.1760\r\n"
                         "UninstallString = uninstall.exe\r\nEstimatedSize = 2048\r\nComments = hello\r\n"
                         "DisplayName = " +
                         test::kDisplayNameGbk + "\r\n");
  std::string shortcutName = "unset";
  RegisterUninstallEntry("D:\\Apps\\QXSimulator", "QXEntryTest", shortcutName);
  EXPECT_EQ(shortcutName, test::kDisplayNameGbk);

  const Value icon = Read("QXEntryTest", "DisplayIcon");
  EXPECT_EQ(icon.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(icon.bytes, std::string("D:\\Apps\\QXSimulator\\QXSimulator.exe\0", 36));
  EXPECT_EQ(Read("QXEntryTest", "UninstallString").bytes, std::string("D:\\Apps\\QXSimulator\\uninstall.exe\0", 34));
  EXPECT_EQ(Read("QXEntryTest", "DisplayName").bytes, std::string(test::kDisplayNameGbk) + '\0');
  EXPECT_EQ(Read("QXEntryTest", "DisplayVersion").bytes, std::string("0.2.0.1760\0", 11));
  EXPECT_EQ(Read("QXEntryTest", "Comments").type, static_cast<DWORD>(REG_SZ));
  for (const auto& [name, number] : {std::pair{"MyVersion", 1760u}, {"NoModify", 1u}, {"EstimatedSize", 2048u}}) {
    const Value v = Read("QXEntryTest", name);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(v.dword(), number) << name;
  }
  EXPECT_FALSE(Read("QXEntryTest", "RegeditKeyName").found);
  EXPECT_TRUE(Read("QXEntryTest", "Leftover").found);  // an earlier value stays

  // The entry is in the writing program's own view: the 32-bit installer's in
  // the 32-bit view, where it also looks. (A 64-bit test build writes the other.)
  constexpr REGSAM kOwnView = sizeof(void*) == 4 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  EXPECT_TRUE(KeyExists("QXEntryTest", kOwnView));
  if (IsWow64()) {
    EXPECT_FALSE(KeyExists("QXEntryTest", KEY_WOW64_64KEY));
  }

  std::string previous;
  FindPreviousInstall("QXEntryTest", previous);
  EXPECT_EQ(previous, "D:\\Apps\\QXSimulator");
  CIniInfoManager::Instance().Clear();
}

TEST(UninstallEntry, EmptyKeyNameWritesNothingIntoTheSharedKey) {
  test::LoadSettingsText("[TAMSOR_INFO]\r\nDisplayName = QXOrphanName\r\nDisplayIcon = QXSimulator.exe\r\n");
  std::string shortcutName = "unset";
  RegisterUninstallEntry("C:\\Apps\\QXSimulator", "", shortcutName);
  EXPECT_FALSE(Read("", "DisplayName").found);
  EXPECT_FALSE(Read("", "DisplayIcon").found);
  EXPECT_EQ(shortcutName, "unset");
  CIniInfoManager::Instance().Clear();
}

TEST(PreviousInstall, OnlyAFolderThatMayBeRemovedCounts) {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  for (const std::string& icon : {std::string("D:\\QXSimulator.exe"), std::string("QXSimulator.exe"),
                                  std::string("..\\QXSimulator.exe"), std::string(windows) + "\\QXSimulator.exe",
                                  std::string("C:\\Program Files\\QXSimulator.exe"), std::string("")}) {
    WriteIcon("QXFindTest", REG_SZ, icon + '\0');
    std::string previous = "as it was";
    FindPreviousInstall("QXFindTest", previous);
    EXPECT_EQ(previous, "as it was") << icon;
  }
  WriteIcon("QXFindTest", REG_SZ, std::string("C:\\Games\\QX\\QXSimulator.exe\0", 28));
  std::string previous;
  FindPreviousInstall("QXFindTest", previous);
  EXPECT_EQ(previous, "C:\\Games\\QX");
}

TEST(PreviousInstall, UnreadableValuesAreIgnored) {
  const DWORD number = 5;
  struct Case {
    DWORD type;
    std::string bytes;
  };
  for (const Case& c : {Case{REG_BINARY, std::string("C:\\Games\\QX\\a.exe\0", 18)},
                        Case{REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4)},
                        Case{REG_SZ, std::string(2000, 'x') + "\\a.exe"}}) {
    WriteIcon("QXFindTest2", c.type, c.bytes);
    std::string previous;
    FindPreviousInstall("QXFindTest2", previous);
    EXPECT_EQ(previous, "") << c.type;
  }
  WriteIcon("QXFindTest2", REG_EXPAND_SZ, std::string("C:\\Games\\QX\\QXSimulator.exe\0", 28));
  std::string previous;
  FindPreviousInstall("QXFindTest2", previous);
  EXPECT_EQ(previous, "C:\\Games\\QX");

  previous = "as it was";
  FindPreviousInstall("QXNoSuchKey", previous);
  EXPECT_EQ(previous, "as it was");
}

}  // namespace
}  // namespace qx
