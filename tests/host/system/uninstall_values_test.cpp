#include "system/uninstall_values.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

const RegistryValue* Find(const UninstallPlan& plan, const std::string& name) {
  for (const RegistryValue& v : plan.values)
    if (v.name == name) return &v;
  return nullptr;
}

TEST(UninstallValues, NumericEntriesAreDwordsOfTheirWholePart) {
  const UninstallPlan plan = PlanUninstallValues(
      {{"EstimatedSize", "2048", true}, {"Half", "1.5", true}, {"Minus", "-1", true}, {"Huge", "1e30", true}}, "C:\\x");
  EXPECT_EQ(Find(plan, "EstimatedSize")->dword, 2048u);
  EXPECT_EQ(Find(plan, "Half")->dword, 1u);
  EXPECT_EQ(Find(plan, "Minus")->dword, 0xFFFFFFFFu);
  EXPECT_EQ(Find(plan, "Huge")->dword, 1u);
  for (const RegistryValue& v : plan.values) EXPECT_TRUE(v.isDword) << v.name;
}

TEST(DisplayIconFolder, TextBeforeTheLastBackslash) {
  EXPECT_EQ(FolderOfDisplayIcon("D:\\Apps\\QXSimulator\\QXSimulator.exe"), "D:\\Apps\\QXSimulator");
  EXPECT_EQ(FolderOfDisplayIcon("D:\\QXSimulator.exe"), "D:");
  EXPECT_EQ(FolderOfDisplayIcon("QXSimulator.exe"), "QXSimulator.exe");
  EXPECT_EQ(FolderOfDisplayIcon(""), "");
}

// The uninstaller deletes HKLM\...\Uninstall\<name>: an empty name is the
// whole Uninstall key, a nested one somebody else's.
TEST(EntryKeyName, OnlyAnEntryOfItsOwn) {
  EXPECT_TRUE(IsEntryKeyName("QXSimulator"));
  EXPECT_TRUE(IsEntryKeyName("{0F8C2B4E-1111} x"));
  EXPECT_FALSE(IsEntryKeyName(""));
  EXPECT_FALSE(IsEntryKeyName("QXSimulator\\..\\Other"));
  EXPECT_FALSE(IsEntryKeyName("\\"));
  EXPECT_FALSE(IsEntryKeyName(std::string(256, 'k')));
}

}  // namespace
}  // namespace qx
