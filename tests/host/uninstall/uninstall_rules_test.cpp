#include "uninstall/uninstall_rules.h"

#include <gtest/gtest.h>

using namespace qx::uninstall;

TEST(UninstallArguments, SilentSwitchAndTheWorkersLine) {
  EXPECT_FALSE(ParseArguments({}).silent);
  EXPECT_TRUE(ParseArguments({L"/S"}).silent);
  EXPECT_TRUE(ParseArguments({L"/s", L"unknown"}).silent);
  EXPECT_FALSE(ParseArguments({L"-S"}).silent);

  Arguments worker;
  worker.folder = L"D:\\Games\\QXSimulator";
  worker.originalProgram = L"uninstall.exe";
  worker.originalProcess = 124;
  worker.resultPipe = 88;
  worker.silent = true;
  const auto parsed = ParseArguments({L"/qx-worker", worker.folder, worker.originalProgram, L"124", L"88", L"/S"});
  EXPECT_TRUE(parsed.worker);
  EXPECT_TRUE(parsed.silent);
  EXPECT_EQ(parsed.folder, worker.folder);
  EXPECT_EQ(parsed.originalProgram, L"uninstall.exe");
  EXPECT_EQ(parsed.originalProcess, 124u);
  EXPECT_EQ(parsed.resultPipe, 88u);
  EXPECT_EQ(WorkerCommandLine(L"C:\\t\\qx.exe", worker),
            L"\"C:\\t\\qx.exe\" /qx-worker \"D:\\Games\\QXSimulator\" \"uninstall.exe\" 124 88 /S");
  // A trailing "\" would escape the closing quote.
  worker.folder = L"D:\\Games\\";
  worker.silent = false;
  EXPECT_EQ(WorkerCommandLine(L"q.exe", worker), L"\"q.exe\" /qx-worker \"D:\\Games\" \"uninstall.exe\" 124 88");
}

TEST(UninstallArguments, AnIncompleteWorkerLineIsNoWorker) {
  for (const std::vector<std::wstring>& words :
       std::vector<std::vector<std::wstring>>{{L"/qx-worker", L"C:\\x", L"u.exe", L"1"},
                                              {L"/qx-worker", L"C:\\x", L"u.exe", L"0", L"2"},
                                              {L"/qx-worker", L"C:\\x", L"u.exe", L"1", L"2x"},
                                              {L"/qx-worker", L"C:\\x", L"..\\u.exe", L"1", L"2"},
                                              {L"/qx-worker", L"C:\\x", L"sub\\u.exe", L"1", L"2"},
                                              {L"/qx-worker", L"", L"u.exe", L"1", L"2"},
                                              {L"/qx-worker", L"C:\\x", L"u.exe", L"1", L"99999999999999999999"}})
    EXPECT_FALSE(ParseArguments(words).worker) << words[2] << L" " << words[3];
}

namespace {

Evidence Proved() {
  Evidence e;
  e.folderAllowed = e.recordLoaded = e.mainProgramPresent = e.mainProgramListed = e.keyNameValid = true;
  e.entryPresent = true;
  e.entryIconFolder = e.entryUninstallFolder = "D:\\Games\\QXSimulator";
  return e;
}

}  // namespace

TEST(UninstallJudge, EachMissingProofRefuses) {
  const std::string folder = "D:\\Games\\QXSimulator";
  EXPECT_EQ(Judge(Proved(), folder), Refusal::kProved);
  struct Case {
    void (*spoil)(Evidence&);
    Refusal expected;
  } cases[] = {
      {[](Evidence& e) { e.folderAllowed = false; }, Refusal::kUnsafeFolder},
      {[](Evidence& e) { e.folderIsLink = true; }, Refusal::kFolderIsLink},
      {[](Evidence& e) { e.recordLoaded = false; }, Refusal::kNoRecord},
      {[](Evidence& e) { e.mainProgramPresent = false; }, Refusal::kNoMainProgram},
      {[](Evidence& e) { e.mainProgramListed = false; }, Refusal::kNoMainProgram},
      {[](Evidence& e) { e.keyNameValid = false; }, Refusal::kBadKeyName},
      {[](Evidence& e) { e.entryIconFolder = "C:"; }, Refusal::kEntryElsewhere},
      {[](Evidence& e) { e.entryIconFolder = "C:\\Windows"; }, Refusal::kEntryElsewhere},
      {[](Evidence& e) { e.entryUninstallFolder = "D:\\Games"; }, Refusal::kEntryElsewhere},
      {[](Evidence& e) { e.entryIconFolder = ""; }, Refusal::kEntryElsewhere},
  };
  for (const Case& c : cases) {
    Evidence e = Proved();
    c.spoil(e);
    EXPECT_EQ(Judge(e, folder), c.expected);
  }
  // An entry that is gone does not keep the files; letter case does not count.
  Evidence gone = Proved();
  gone.entryPresent = false;
  gone.entryIconFolder = gone.entryUninstallFolder = "";
  EXPECT_EQ(Judge(gone, folder), Refusal::kProved);
  Evidence cased = Proved();
  cased.entryIconFolder = "d:/games/qxsimulator\\";
  EXPECT_EQ(Judge(cased, folder), Refusal::kProved);
}

TEST(UninstallTexts, NameWhatStaysAndCapTheList) {
  EXPECT_EQ(ConfirmText(L"岚舟模拟器"), L"确定要卸载岚舟模拟器吗?");
  EXPECT_EQ(Caption(L"岚舟模拟器"), L"岚舟模拟器 卸载");
  EXPECT_EQ(DoneText(L"岚舟模拟器", L"D:\\Games\\QXSimulator", {}), L"岚舟模拟器已从您的计算机中卸载。");
  const std::wstring kept = DoneText(L"岚舟模拟器", L"D:\\Games\\QXSimulator", {L"saves", L"bin\\mod.dll"});
  EXPECT_NE(kept.find(L"D:\\Games\\QXSimulator"), std::wstring::npos);
  EXPECT_NE(kept.find(L"    saves\n    bin\\mod.dll\n"), std::wstring::npos);
  std::vector<std::wstring> many(40, L"x");
  const std::wstring lines = NameLines(many, 15);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L'\n'), 16);
  EXPECT_NE(lines.find(L"共40项"), std::wstring::npos);
  EXPECT_NE(RefusalText(Refusal::kEntryElsewhere, L"岚舟模拟器", L"D:\\Q", L"C:\\").find(L"C:\\"), std::wstring::npos);
  EXPECT_EQ(RefusalText(Refusal::kProved, L"n", L"f", L""), L"");
}

TEST(UninstallReportSettings, OnlyTheInstallersOwnFileForThisFolderGoes) {
  const std::string folder = "C:\\Program Files\\QXSimulator";
  EXPECT_TRUE(ReportSettingsAreTheInstallers(
      "[CONFIG]\r\ninstallPath=C:\\Program Files\\QXSimulator\r\nVersion=0.2.0.1760\r\n", folder));
  EXPECT_TRUE(ReportSettingsAreTheInstallers("[config]\ninstallpath = c:\\program files\\qxsimulator\n", folder));
  EXPECT_FALSE(ReportSettingsAreTheInstallers("", folder));
  EXPECT_FALSE(ReportSettingsAreTheInstallers("[CONFIG]\r\nVersion=1\r\n", folder));
  EXPECT_FALSE(ReportSettingsAreTheInstallers("[CONFIG]\r\ninstallPath=D:\\QXSimulator\r\n", folder));
  EXPECT_FALSE(ReportSettingsAreTheInstallers("[CONFIG]\r\ninstallPath=C:\\Program Files\\QXSimulator\r\nuserId=42\r\n",
                                              folder));
  EXPECT_FALSE(ReportSettingsAreTheInstallers(
      "[CONFIG]\r\ninstallPath=C:\\Program Files\\QXSimulator\r\n[USER]\r\nname=x\r\n", folder));
  EXPECT_FALSE(ReportSettingsAreTheInstallers("orphan=1\r\n[CONFIG]\r\ninstallPath=" + folder + "\r\n", folder));
}
