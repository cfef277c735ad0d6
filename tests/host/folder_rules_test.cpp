#include "core/folder_rules.h"

#include <gtest/gtest.h>

TEST(FolderRules, DefaultFollowsPlatform) {
  EXPECT_EQ(qx::DefaultInstallFolderFor(true), "C:\\Program Files (x86)\\QXSimulator");
  EXPECT_EQ(qx::DefaultInstallFolderFor(false), "C:\\Program Files\\QXSimulator");
}

TEST(FolderRules, DialogChoiceGetsProductFolderOnce) {
  EXPECT_EQ(qx::FolderFromDialogChoice(""), std::nullopt);
  EXPECT_EQ(qx::FolderFromDialogChoice("E:\\"), "E:\\QXSimulator");
  EXPECT_EQ(qx::FolderFromDialogChoice("D:\\Games"), "D:\\Games\\QXSimulator");
  EXPECT_EQ(qx::FolderFromDialogChoice("D:\\Games\\"), "D:\\Games\\QXSimulator");
  // Only one separator goes; an existing product folder is not recognised.
  EXPECT_EQ(qx::FolderFromDialogChoice("D:\\a\\\\"), "D:\\a\\\\QXSimulator");
  EXPECT_EQ(qx::FolderFromDialogChoice("D:\\QXSimulator"), "D:\\QXSimulator\\QXSimulator");
}

TEST(FolderRules, RefusedRangeIsInclusiveAndNarrow) {
  EXPECT_TRUE(qx::ContainsRefusedUnit(u"C:\\\u4E2D"));
  EXPECT_TRUE(qx::ContainsRefusedUnit(u"\u4E00"));
  EXPECT_TRUE(qx::ContainsRefusedUnit(u"\u9FCF"));
  EXPECT_FALSE(qx::ContainsRefusedUnit(u"\u4DFF\u9FD0"));
  EXPECT_FALSE(qx::ContainsRefusedUnit(u"D:\\\u30B2\u30FC\u30E0\\\uAC8C\uC784\\\uFF01"));
  EXPECT_FALSE(qx::ContainsRefusedUnit(u""));
}
