// One real free-space query of the prefix's drive through the settings.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/ini_info.h"
#include "system/disk_space.h"
#include "system_support.h"

namespace qx {
namespace {

TEST(DiskSpaceCheck, QueriesTheInstallFolderDrive) {
  ULARGE_INTEGER available, total, free;
  ASSERT_TRUE(::GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
  ASSERT_GT(available.QuadPart, 0u);

  test::LoadSettingsText("[MIN_INSTALL_SPACE]\r\nsize_GB\t=\t0.001\r\nother = 99999\r\n");
  int required = -1;
  EXPECT_TRUE(CheckInstallDiskSpace("C:\\Program Files\\QXSimulator", required));
  EXPECT_EQ(required, 0);
  const ULONGLONG figure = CHardDiskManager::Instance().availableToCaller.QuadPart;
  // The free space moves while other programs write; same order of size.
  EXPECT_NEAR(static_cast<double>(figure), static_cast<double>(available.QuadPart), 1024.0 * 1024 * 1024);
  EXPECT_GT(CHardDiskManager::Instance().totalBytes.QuadPart, 0u);

  test::LoadSettingsText("[MIN_INSTALL_SPACE]\r\nsize_GB = 99999999\r\n");
  EXPECT_FALSE(CheckInstallDiskSpace("C:\\Program Files\\QXSimulator", required));
  EXPECT_EQ(required, 99999999);
  CIniInfoManager::Instance().Clear();
}

TEST(DiskSpaceCheck, FailedQueryKeepsTheLastFigures) {
  test::LoadSettingsText("[MIN_INSTALL_SPACE]\r\nsize_GB = 0.001\r\n");
  int required = 0;
  ASSERT_TRUE(CheckInstallDiskSpace("C:\\x", required));
  const ULONGLONG before = CHardDiskManager::Instance().availableToCaller.QuadPart;
  EXPECT_TRUE(CheckInstallDiskSpace("Q:\\no such drive", required));
  EXPECT_EQ(CHardDiskManager::Instance().availableToCaller.QuadPart, before);
}

TEST(DiskSpaceCheck, MissingOrTextMinimumPassesAndLeavesTheFigureAlone) {
  for (const char* settings : {"", "[MIN_INSTALL_SPACE]\r\nsize_GB = seven\r\n"}) {
    test::LoadSettingsText(settings);
    int required = -5;
    EXPECT_TRUE(CheckInstallDiskSpace("C:\\x", required)) << settings;
    EXPECT_EQ(required, -5) << settings;
  }
  CIniInfoManager::Instance().Clear();
}

}  // namespace
}  // namespace qx
