#include "system/shortcut_names.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(ShortcutNames, AutoStartNameDropsFourCharacters) {
  EXPECT_EQ(AutoStartShortcutName(L"QXBallonTips.exe"), L"QXBallonTips");
  EXPECT_EQ(AutoStartShortcutName(L"tray.bat"), L"tray");
  EXPECT_EQ(AutoStartShortcutName(L"abc"), L"abc");
  EXPECT_EQ(AutoStartShortcutName(L".exe"), L"");
  EXPECT_EQ(AutoStartShortcutName(L"\u6258\u76D8.exe"), L"\u6258\u76D8");  // whole characters
}

}  // namespace
}  // namespace qx
