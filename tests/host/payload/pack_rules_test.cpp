#include "packer/pack_rules.h"

#include <gtest/gtest.h>

#include "packer/layout_check.h"
#include "payload/item_path.h"
#include "payload/layout.h"

using namespace qx::pack;
using qx::payload::IsSafeItemPath;

TEST(ItemPath, RefusesPathsThatLeaveTheDestination) {
  for (const char* bad : {"..\\x", "a/../../x", "..", "a\\..", "\\abs", "/abs", "C:x", "c:\\x", ""})
    EXPECT_FALSE(IsSafeItemPath(std::string_view(bad))) << bad;
  for (const char* good : {"a", "a\\b\\c.txt", "a/b", "..a", "a..b\\c", "x\\...\\y", "[Content]"})
    EXPECT_TRUE(IsSafeItemPath(std::string_view(good))) << good;
  EXPECT_FALSE(IsSafeItemPath(std::wstring_view(L"dir\\..\\..\\evil.txt")));
}

TEST(PackRules, MarkerComesFromTheFirstFlagOfItsSection) {
  EXPECT_EQ(MarkerFromSettings("[A]\r\nflag=no\r\n[OFFSET_FLAG]\r\nFlag = no\r\nflag\t\t=\tQX7zOffset\r\nflag=two\r\n"),
            "QX7zOffset");
  EXPECT_EQ(MarkerFromSettings("[OFFSET_FLAGS]\nflag=x\n"), "");
  EXPECT_EQ(MarkerFromSettings(""), "");
  EXPECT_EQ(SettingsValue("[TAMSOR_INFO]\r\nUninstallString\t=\tuninstall.exe\r\n", "TAMSOR_INFO", "UninstallString"),
            "uninstall.exe");
}

TEST(PackRules, TheInstallRecordsNamesAreThePackersOwn) {
  for (const char* taken : {"uninstall.lst", "UNINSTALL.INI"}) {
    const auto problems = PayloadPathProblems({"bin", taken});
    ASSERT_EQ(problems.size(), 1u) << taken;
    EXPECT_NE(problems[0].find(taken), std::string::npos);
  }
  EXPECT_TRUE(PayloadPathProblems({"bin", "bin/uninstall.lst", "uninstall.exe"}).empty());
}

TEST(PackRules, RefusesCaseTwinsAndUnsafePaths) {
  EXPECT_TRUE(PayloadPathProblems({"bin", "bin/a.exe", "Docs", "docs2"}).empty());
  const auto twins = PayloadPathProblems({"bin/App.exe", "bin/app.EXE"});
  ASSERT_EQ(twins.size(), 1u);
  EXPECT_NE(twins[0].find("letter case"), std::string::npos);
  EXPECT_EQ(PayloadPathProblems({"../x"}).size(), 1u);
  // Windows folds case in every script, not only in ASCII.
  EXPECT_EQ(PayloadPathProblems({"Twin/ЖУК.txt", "twin/жук.txt"}).size(), 1u);
  EXPECT_EQ(PayloadPathProblems({"res/Äpfel.txt", "res/äPFEL.txt"}).size(), 1u);
  EXPECT_TRUE(PayloadPathProblems({"res/жук.txt", "res/жуки.txt", "文档/说明.txt", "文档/說明.txt"}).empty());
}

TEST(PackRules, RefusesNamesWindowsCannotHold) {
  for (const char* bad :
       {"a?b", "x/a*b", "a:b", "a\\b", "a|b", "a\"b", "a<b", "dir./x", "x/name ", "tab\tname", "con", "docs/NUL.txt",
        "aux .log", "com1", "LPT9.dat", "com0", "COM\u00B9.txt", "bad\xff.txt", "half\xe6\x96"})
    EXPECT_EQ(PayloadPathProblems({bad}).size(), 1u) << bad;
  for (const char* good : {"console.txt", "com10", "comx", "lpt", "nul2.txt", ".hidden", "a.b.c", "中文 名.txt"})
    EXPECT_TRUE(PayloadPathProblems({good}).empty()) << good;
}

TEST(PackRules, InstallerSizeCountsFillerRecordAndPadding) {
  EXPECT_EQ(InstallerSize(2683392, 1), 3145728u + 104);
  EXPECT_EQ(InstallerSize(2683392, 4), 3145728u + 104);
  EXPECT_EQ(InstallerSize(2683392, 5), 3145728u + 112);
}

namespace {

// A minimal PE: headers, one section of raw data, nothing else. 64-bit
// machines get the PE32+ optional header, whose data directories sit later.
std::string FakeImage(uint32_t rawEnd, uint16_t machine = 0x14C) {
  const bool wide = machine == 0x8664 || machine == 0xAA64;
  std::string f(rawEnd, '\0');
  f[0] = 'M', f[1] = 'Z';
  auto put32 = [&f](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<char>(v >> (8 * i));
  };
  put32(0x3C, 0x80);
  f.replace(0x80, 4, std::string("PE\0\0", 4));
  f[0x80 + 4] = static_cast<char>(machine), f[0x80 + 5] = static_cast<char>(machine >> 8);
  f[0x80 + 6] = 1;  // one section
  const uint8_t optionalSize = wide ? 0xF0 : 0xE0;
  f[0x80 + 20] = static_cast<char>(optionalSize);
  f[0x98] = 0x0B, f[0x99] = wide ? 0x02 : 0x01;
  const size_t section = 0x98 + optionalSize;
  put32(section + 16, rawEnd - 0x400);
  put32(section + 20, 0x400);
  return f;
}

std::string SevenZipArchive(const std::string& body) {
  std::string header = std::string("7z\xBC\xAF\x27\x1C\x00\x04", 8) + std::string(24, '\0');
  auto put64 = [&header](size_t at, uint64_t v) {
    for (int i = 0; i < 8; ++i) header[at + i] = static_cast<char>(v >> (8 * i));
  };
  put64(12, 0);
  put64(20, body.size());
  const uint32_t crc = Crc32(reinterpret_cast<const unsigned char*>(header.data() + 12), 20);
  for (int i = 0; i < 4; ++i) header[8 + i] = static_cast<char>(crc >> (8 * i));
  return header + body;
}

std::string Installer(const std::string& image, const std::string& archive, size_t tail) {
  using namespace qx::payload;
  std::string f = image;
  const int64_t at = RecordOffsetFor(static_cast<int64_t>(image.size()));
  f.resize(static_cast<size_t>(at), '\0');
  auto record = MakeRecord("QX7zOffset", static_cast<int64_t>(image.size() + kRecordSize));
  f.append(record->data(), record->size());
  f += archive;
  f.resize((f.size() + 7) / 8 * 8 + tail, '\0');
  return f;
}

}  // namespace

TEST(LayoutCheck, AcceptsWhatThePackerWrites) {
  const auto r = CheckLayout(Installer(FakeImage(0x1000), SevenZipArchive(std::string(1500000, 'x')), 0));
  EXPECT_TRUE(r.problems.empty()) << r.problems.front();
  EXPECT_EQ(r.pe.imageSize, 0x1000u);
  EXPECT_EQ(r.recordOffset, qx::payload::kMiB);
  EXPECT_EQ(r.searchStart, 0x1000 + 100);
  EXPECT_EQ(r.archiveOffset, qx::payload::kMiB + 100);
  EXPECT_EQ(r.archiveSize, 1500032u);
  EXPECT_TRUE(r.recordFound);
}

TEST(LayoutCheck, FindsEachBrokenRule) {
  const std::string image = FakeImage(0x1000), archive = SevenZipArchive(std::string(1500000, 'x'));
  std::string file = Installer(image, archive, 0);

  std::string filler = file;  // a valid signature header in the filler
  filler.replace(0x2000, 64, SevenZipArchive(std::string(32, 'y')));
  EXPECT_FALSE(CheckLayout(filler).problems.empty());

  std::string badCrc = file;
  badCrc[qx::payload::kMiB + 100 + 20] ^= 1;
  EXPECT_FALSE(CheckLayout(badCrc).problems.empty());

  std::string dirtyPad = Installer(image, SevenZipArchive(std::string(1500001, 'x')), 0);
  dirtyPad.back() = 1;
  EXPECT_FALSE(CheckLayout(dirtyPad).problems.empty());

  EXPECT_FALSE(CheckLayout(Installer(image, archive, 16)).problems.empty()) << "bytes behind an unsigned file";

  std::string noMarker = file;
  noMarker[qx::payload::kMiB] = 0;
  EXPECT_FALSE(CheckLayout(noMarker).problems.empty());

  EXPECT_FALSE(CheckLayout("not a pe").problems.empty());
}

TEST(LayoutCheck, OnlyTheTestOptionLetsAnX64ImageThroughAndNoOtherMachine) {
  const std::string archive = SevenZipArchive(std::string(1500000, 'x'));
  const auto forTests = ImageMachines::X86OrX64ForTests;

  // Linked from the kit of the 64-bit build.
  const std::string x64 = Installer(FakeImage(0x1000, 0x8664), archive, 0);
  const auto refused = CheckLayout(x64);
  ASSERT_EQ(refused.problems.size(), 1u);
  EXPECT_EQ(refused.problems[0], "image is not 32-bit x86 (machine 0x8664)");

  const auto accepted = CheckLayout(x64, forTests);
  EXPECT_TRUE(accepted.problems.empty()) << accepted.problems.front();
  EXPECT_EQ(accepted.pe.machine, 0x8664);
  EXPECT_EQ(accepted.pe.imageSize, 0x1000u);
  EXPECT_EQ(accepted.archiveOffset, qx::payload::kMiB + 100);

  EXPECT_TRUE(CheckLayout(Installer(FakeImage(0x1000), archive, 0), forTests).problems.empty());

  for (uint16_t machine : {0xAA64, 0x01C4, 0x0200, 0x0000}) {
    const auto other = CheckLayout(Installer(FakeImage(0x1000, machine), archive, 0), forTests);
    ASSERT_EQ(other.problems.size(), 1u) << std::hex << machine;
    EXPECT_NE(other.problems[0].find("is not 32-bit x86 or x86-64"), std::string::npos) << other.problems[0];
  }

  // The option waives the machine rule only, not the layout's.
  EXPECT_FALSE(CheckLayout(Installer(FakeImage(0x1000, 0x8664), archive, 16), forTests).problems.empty());
}
