// The settings reader against real files read by the platform's profile reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ini_info.h"
#include "temp_folder.h"

namespace qx {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { CIniInfoManager::Instance().Clear(); }
  void TearDown() override { CIniInfoManager::Instance().Clear(); }

  void Load(const std::string& text) {
    test::WriteFile(folder_ / "info.ini", text);
    LoadSettings(folder_ / "info.ini");
  }
  static std::vector<std::string> Values(const std::string& section) {
    std::vector<CIniInfoData*> entries;
    CIniInfoManager::Instance().GetSectionEntries(section, entries);
    std::vector<std::string> values;
    for (auto* e : entries) values.push_back(e->key + "=" + e->value);
    return values;
  }

  test::TempFolder folder_{"settings"};
};

TEST_F(SettingsTest, AlignedValuesAreTrimmedAndFlaggedNumeric) {
  Load(
      "[TAMSOR_INFO]\r\nRegeditKeyName\t\t=\tQXSimulator\r\nDisplayVersion  =  0.2.0.1760 \r\n"
      "MyVersion\t=\t1760\r\nNoModify = 1\t\r\n\r\n[MIN_INSTALL_SPACE]\r\nsize_GB\t=\t7\r\n");
  CIniInfoData record;
  ASSERT_TRUE(CIniInfoManager::Instance().FindByKey("RegeditKeyName", record));
  EXPECT_EQ(record.value, "QXSimulator");
  EXPECT_EQ(record.section, "TAMSOR_INFO");
  EXPECT_FALSE(record.numeric);
  ASSERT_TRUE(CIniInfoManager::Instance().FindByKey("DisplayVersion", record));
  EXPECT_EQ(record.value, "0.2.0.1760");
  EXPECT_FALSE(record.numeric);
  for (const char* key : {"MyVersion", "NoModify", "size_GB"}) {
    ASSERT_TRUE(CIniInfoManager::Instance().FindByKey(key, record)) << key;
    EXPECT_TRUE(record.numeric) << key;
  }
  EXPECT_EQ(record.value, "7");
}

TEST_F(SettingsTest, KeysAndSectionsMatchExactlyAndInFileOrder) {
  Load("[first]\r\nshared=one\r\na=b=c\r\nshared=dup\r\n[second]\r\nshared=two\r\n[offset_flag]\r\nflag=x\r\n");
  CIniInfoData record;
  ASSERT_TRUE(CIniInfoManager::Instance().FindByKey("shared", record));
  EXPECT_EQ(record.value, "one");
  EXPECT_EQ(record.section, "first");
  EXPECT_EQ(Values("first"), (std::vector<std::string>{"shared=one", "a=b=c", "shared=dup"}));
  EXPECT_EQ(Values("second"), (std::vector<std::string>{"shared=two"}));
  EXPECT_TRUE(Values("OFFSET_FLAG").empty());
  EXPECT_FALSE(CIniInfoManager::Instance().FindByKey("Shared", record));
}

TEST_F(SettingsTest, MissingKeyLeavesTheCallersRecordAsItWas) {
  Load("[TAMSOR_INFO]\r\nRegeditKeyName=QXSimulator\r\nDisplayName=\xE1\xB0\xD6\xDB\r\n");
  CIniInfoData record;
  record.value = "unchanged";
  EXPECT_FALSE(CIniInfoManager::Instance().FindByKey("DisplayIcon", record));
  EXPECT_EQ(record.value, "unchanged");
  const UninstallValues values = ReadUninstallValues();
  EXPECT_EQ(values.regeditKeyName, "QXSimulator");
  EXPECT_EQ(values.displayIcon, "");                  // not RegeditKeyName's value
  EXPECT_EQ(values.displayName, "\xE1\xB0\xD6\xDB");  // GBK bytes passed on unconverted
}

TEST_F(SettingsTest, LongSectionsAreReadWhole) {
  // A publisher name and a web address far beyond the old 260-byte buffer.
  std::string text = "[TAMSOR_INFO]\r\n";
  const std::string publisher(1500, 'P');
  const std::string url = "https://www.example.com/" + std::string(2000, 'u');
  text += "Publisher = " + publisher + "\r\nURLInfoAbout = " + url + "\r\n";
  for (int i = 0; i < 60; ++i) text += "Extra" + std::to_string(i) + " = value" + std::to_string(i) + "\r\n";
  text += "Last = end\r\n";
  for (int i = 0; i < 300; ++i) text += "[S" + std::to_string(i) + "]\r\nk=v\r\n";  // > 2048 bytes of names
  Load(text);
  CIniInfoData record;
  ASSERT_TRUE(CIniInfoManager::Instance().FindByKey("Publisher", record));
  EXPECT_EQ(record.value, publisher);
  ASSERT_TRUE(CIniInfoManager::Instance().FindByKey("URLInfoAbout", record));
  EXPECT_EQ(record.value, url);
  ASSERT_TRUE(CIniInfoManager::Instance().FindByKey("Last", record));
  EXPECT_EQ(record.value, "end");
  EXPECT_EQ(Values("TAMSOR_INFO").size(), 63u);
  EXPECT_EQ(Values("S299"), (std::vector<std::string>{"k=v"}));
}

TEST_F(SettingsTest, MissingFileAddsNothing) {
  LoadSettings(folder_ / "absent.ini");
  EXPECT_EQ(CIniInfoManager::Instance().Count(), 0u);
}

}  // namespace
}  // namespace qx
