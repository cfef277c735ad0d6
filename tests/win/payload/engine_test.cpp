// The engine on archives made by 7zz: result codes from real causes, the
// files it writes, the layouts the packer writes, progress.
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "payload/extract.h"
#include "payload/folder_chain.h"
#include "payload/layout.h"
#include "payload/payload_password.h"
#include "temp_folder.h"
#include "win/scoped.h"
#include "win/text_convert.h"

using qx::test::PathExists;
using qx::test::ReadFile;
using qx::test::TempFolder;
using qx::test::WriteFile;

namespace {

std::string Data(const std::string& name) { return std::string(QX_TEST_DATA) + "\\" + name; }

std::vector<int> g_progress;
void Record(int percent) { g_progress.push_back(percent); }

int32_t Unpack(const std::string& archive, const std::string& destination, int64_t start = 0,
               const std::string& password = qx::payload::kPayloadPassword,
               const std::string& library = QX_TEST_CODEC) {
  g_progress.clear();
  CExtractManager& engine = CExtractManager::GetInstance();
  engine.SetLibraryPath(library);
  engine.SetProgressCallback(Record);
  return engine.Extract(archive, destination, start, password);
}

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool IsFolder(const std::string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(Engine, UnpacksNestedFoldersWithNamesAttributesAndTimes) {
  TempFolder dest("engine-tree");
  ASSERT_EQ(Unpack(Data("tree.7z"), dest.Path()), 0);
  EXPECT_EQ(ReadFile(dest / "top.txt"), "top file\n");
  EXPECT_EQ(ReadFile(dest / "outer\\inner\\deep.txt"), "deep file\n");
  EXPECT_TRUE(IsFolder(dest / "emptydir"));
  EXPECT_TRUE(PathExists(dest / "outer\\empty.bin"));
  EXPECT_EQ(ReadFile(dest / "outer\\empty.bin"), "");
  EXPECT_EQ(ReadFile(dest / "outer\\big.bin").size(), 3000000u);
  const std::wstring chinese = qx::win::AnsiToWide(dest / "outer\\") + L"中文名.txt";
  EXPECT_NE(::GetFileAttributesW(chinese.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Attributes(dest / "outer\\readonly.txt") & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(Attributes(dest / "top.txt") & FILE_ATTRIBUTE_READONLY);

  HANDLE file =
      ::CreateFileA((dest / "top.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME written{}, expected{};
  ::GetFileTime(file, nullptr, nullptr, &written);
  ::CloseHandle(file);
  SYSTEMTIME when = {2001, 2, 0, 3, 4, 5, 6, 0};
  ::SystemTimeToFileTime(&when, &expected);
  EXPECT_EQ(::CompareFileTime(&written, &expected), 0);
}

TEST(Engine, ReplacesExistingFilesReadOnlyOnesIncluded) {
  TempFolder dest("engine-again");
  ASSERT_EQ(Unpack(Data("tree.7z"), dest.Path() + "\\"), 0) << "a trailing separator changes nothing";
  WriteFile(dest / "top.txt", "stale");
  ASSERT_EQ(Unpack(Data("tree.7z"), dest.Path()), 0);
  EXPECT_EQ(ReadFile(dest / "top.txt"), "top file\n");
  EXPECT_EQ(ReadFile(dest / "outer\\readonly.txt"), "只读\n");
}

TEST(Engine, FileNamedTwiceInAFolderOfThisRunEndsWithTheLaterItem) {
  TempFolder dest("engine-twins");
  ASSERT_EQ(Unpack(Data("twins.7z"), dest.Path()), 0);
  EXPECT_EQ(ReadFile(dest / "twin\\file.txt"), "second\n");
  EXPECT_FALSE(Attributes(dest / "twin\\file.txt") & FILE_ATTRIBUTE_READONLY);
  const std::wstring folder = qx::win::AnsiToWide(dest / "twin\\");
  for (const wchar_t* word : {L"жук", L"дом", L"мир", L"лес", L"сон", L"чай", L"лук", L"сок"})
    EXPECT_EQ(ReadFile(qx::win::WideToAnsi(folder + word + L".txt")), "second\n") << qx::win::WideToAnsi(word);
}

// Items of one name are kept in order by this key; Windows compares names
// without regard to case in every script, not only ASCII.
TEST(Engine, PathKeyMatchesNamesAsTheFileSystemDoes) {
  using qx::payload::PathKey;
  EXPECT_EQ(PathKey(L"C:\\Out\\Twin\\File.TXT"), PathKey(L"c:/out/twin/file.txt/"));
  EXPECT_EQ(PathKey(L"C:\\Out\\ЖУК.txt"), PathKey(L"C:\\Out\\жук.txt"));
  EXPECT_EQ(PathKey(L"C:\\Out\\ÄPFEL"), PathKey(L"C:\\Out\\äpfel"));
  EXPECT_NE(PathKey(L"C:\\Out\\a.txt"), PathKey(L"C:\\Out\\b.txt"));
  EXPECT_NE(PathKey(L"C:\\Out\\中文名.txt"), PathKey(L"C:\\Out\\中文.txt"));
}

// Small files are written behind the decoder, large ones as they come:
// a name shared by both still ends with the later item.
TEST(Engine, SmallAndLargeFileOfOneNameEndWithTheLaterItem) {
  TempFolder dest("engine-sizes");
  ASSERT_EQ(Unpack(Data("small-big.7z"), dest / "small-big"), 0);
  EXPECT_EQ(ReadFile(dest / "small-big\\size\\one.bin"), std::string(3000000, 'b'));
  ASSERT_EQ(Unpack(Data("big-small.7z"), dest / "big-small"), 0);
  EXPECT_EQ(ReadFile(dest / "big-small\\size\\one.bin"), "small\n");
}

TEST(Engine, FolderStandingWhereAFileGoesFailsTheExtraction) {
  TempFolder dest("engine-clash");
  qx::test::MakeFolder(dest / "outer");
  EXPECT_EQ(Unpack(Data("file-over-folder.7z"), dest.Path()), -6);
  EXPECT_TRUE(IsFolder(dest / "outer"));
}

TEST(Engine, ItemsThatClimbOutOfTheDestinationStopTheExtraction) {
  TempFolder root("engine-escape");
  const std::string dest = root / "install";
  qx::test::MakeFolder(dest);
  EXPECT_EQ(Unpack(Data("escape.7z"), dest), -6);
  EXPECT_FALSE(PathExists(root / "evil.txt"));
  EXPECT_EQ(Unpack(Data("absolute.7z"), dest), -6);
}

TEST(Engine, ResultCodesFromRealCauses) {
  TempFolder dest("engine-codes");
  EXPECT_EQ(Unpack(Data("tree.7z"), dest.Path(), 0, qx::payload::kPayloadPassword, "C:\\nowhere\\7zTmp.dll"), -1);
  // An empty path is a library that failed its integrity check.
  EXPECT_EQ(Unpack(Data("tree.7z"), dest.Path(), 0, qx::payload::kPayloadPassword, ""), -1);
  EXPECT_EQ(Unpack(Data("tree.7z"), dest.Path(), 0, qx::payload::kPayloadPassword, QX_TEST_BARE_DLL), -2);
  EXPECT_EQ(Unpack(Data("tree.7z"), dest.Path(), 0, qx::payload::kPayloadPassword, QX_TEST_FAILING_DLL), -3);
  EXPECT_EQ(Unpack(Data("missing.7z"), dest.Path()), -4);
  EXPECT_EQ(Unpack(Data("headers-encrypted.7z"), dest.Path()), -5);
  WriteFile(dest / "garbage.bin", std::string(100000, 'g'));
  EXPECT_EQ(Unpack(dest / "garbage.bin", dest.Path()), -5);
  EXPECT_EQ(Unpack(Data("tree.7z"), dest.Path(), 0, ""), -6) << "encrypted items without a password";
  EXPECT_TRUE(g_progress.empty() || g_progress.back() != 100);
}

TEST(Engine, CrcErrorLeavesTheExtractionSuccessfulAndTheFileInPlace) {
  TempFolder dest("engine-crc");
  EXPECT_EQ(Unpack(Data("crc.7z"), dest.Path(), 0, ""), 0);
  EXPECT_EQ(ReadFile(dest / "bad.txt").size(), 40u);
  EXPECT_EQ(ReadFile(dest / "good.txt"), "good\n");

  // A large file is written while it is decoded: kept whole all the same.
  TempFolder bigDest("engine-crc-big");
  EXPECT_EQ(Unpack(Data("crc-big.7z"), bigDest.Path(), 0, ""), 0);
  const std::string big = ReadFile(bigDest / "bigbad.bin");
  ASSERT_EQ(big.size(), 3000000u);
  EXPECT_EQ(big.substr(big.size() - 10), "YZZZZZZZZZ");
  EXPECT_EQ(big.find_first_not_of('L'), big.size() - 10);
  EXPECT_EQ(ReadFile(bigDest / "good.txt"), "good\n");
}

// Standard output goes to a file for one extraction, then back.
TEST(EngineOutput, LinesArriveWholeAndInOrderBeforeTheEnginesOwn) {
  TempFolder dest("engine-stdout");
  const std::string log = dest / "stdout.txt";
  std::fflush(stdout);
  const int saved = _dup(_fileno(stdout));
  ASSERT_NE(std::freopen(log.c_str(), "w", stdout), nullptr);
  const int32_t crc = Unpack(Data("crc.7z"), dest.Path(), 0, "");
  const int32_t locked = Unpack(Data("tree.7z"), dest.Path(), 0, "");
  std::fflush(stdout);
  _dup2(saved, _fileno(stdout));
  _close(saved);
  EXPECT_EQ(crc, 0);
  EXPECT_EQ(locked, -6);
  std::string text = ReadFile(log);
  std::erase(text, '\r');  // written in text mode
  EXPECT_NE(text.find("Extracting  bad.txt  :  Error : CRC Failed\nExtracting  good.txt\n"), std::string::npos) << text;
  const size_t password = text.find("Error: Password is not defined\n");
  ASSERT_NE(password, std::string::npos) << text;
  EXPECT_NE(text.find("Extract Error\n", password), std::string::npos) << text;
}

TEST(EngineProgress, RealArchiveReportsNonDecreasingPercentsEndingIn100) {
  TempFolder dest("engine-many");
  ASSERT_EQ(Unpack(Data("many.7z"), dest.Path()), 0);
  ASSERT_FALSE(g_progress.empty());
  for (size_t i = 1; i < g_progress.size(); ++i) EXPECT_GE(g_progress[i], g_progress[i - 1]);
  EXPECT_EQ(g_progress.back(), 100);
  EXPECT_LE(g_progress.size(), 101u);
  EXPECT_EQ(ReadFile(dest / "f300.txt").size(), 300000u);
}

// The first 100 lets the installer go on to files it has just unpacked, so
// every file must be whole and closed by then.
std::string g_firstHundredDest;
int g_filesWholeAtFirstHundred = -1;
void CheckFilesAtFirstHundred(int percent) {
  g_progress.push_back(percent);
  if (percent != 100 || g_filesWholeAtFirstHundred >= 0) return;
  g_filesWholeAtFirstHundred = 0;
  for (int i = 1; i <= 300; ++i) {
    const std::string path = g_firstHundredDest + "\\f" + std::to_string(i) + ".txt";
    // No sharing: fails while a writer still holds the file.
    qx::win::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (file.Valid() && ::GetFileSizeEx(file.Get(), &size) && size.QuadPart == i * 1000) ++g_filesWholeAtFirstHundred;
  }
}

TEST(EngineProgress, EveryFileIsWholeAndClosedWhen100IsReported) {
  TempFolder dest("engine-hundred");
  g_firstHundredDest = dest.Path();
  g_filesWholeAtFirstHundred = -1;
  CExtractManager& engine = CExtractManager::GetInstance();
  engine.SetLibraryPath(QX_TEST_CODEC);
  engine.SetProgressCallback(CheckFilesAtFirstHundred);
  engine.EnableProgress(true);
  g_progress.clear();
  ASSERT_EQ(engine.Extract(Data("many.7z"), dest.Path(), 0, qx::payload::kPayloadPassword), 0);
  EXPECT_EQ(g_filesWholeAtFirstHundred, 300);
  EXPECT_EQ(g_progress.back(), 100);
}

TEST(EngineProgress, ArchiveWithoutDataStillEndsIn100) {
  TempFolder dest("engine-zero");
  ASSERT_EQ(Unpack(Data("zero.7z"), dest.Path()), 0);
  ASSERT_EQ(g_progress, std::vector<int>{100});
  EXPECT_TRUE(PathExists(dest / "nothing.txt"));
  EXPECT_TRUE(IsFolder(dest / "dir"));
}

TEST(EngineProgress, DisabledProgressReportsNothing) {
  TempFolder dest("engine-quiet");
  CExtractManager::GetInstance().SetLibraryPath(QX_TEST_CODEC);
  CExtractManager::GetInstance().SetProgressCallback(Record);
  CExtractManager::GetInstance().EnableProgress(false);
  g_progress.clear();
  ASSERT_EQ(ExtractPayload(Data("many.7z"), dest.Path(), 0), 0);
  EXPECT_TRUE(g_progress.empty());
}

// Installer files as the packer lays them out, with a fake image in front.
TEST(EngineLayout, FindsTheArchiveBehindFillerAndRecord) {
  using namespace qx::payload;
  TempFolder dest("engine-layout");
  const std::string archive = ReadFile(Data("tree.7z"));
  // The image holds signature bytes without a valid header, as the
  // embedded codec library does.
  std::string image(2683392, 'i');
  image.replace(1000, 6, "7z\xBC\xAF\x27\x1C");
  std::string file = image;
  file.resize(static_cast<size_t>(RecordOffsetFor(static_cast<int64_t>(image.size()))), '\0');
  const auto record = MakeRecord("QX7zOffset", static_cast<int64_t>(image.size() + kRecordSize));
  file.append(record->data(), record->size());
  file += archive;
  file.resize((file.size() + 7) / 8 * 8, '\0');
  WriteFile(dest / "setup.exe", file);

  const int64_t start = FindPayloadSearchStart(dest / "setup.exe", "QX7zOffset");
  ASSERT_EQ(start, 2683492);
  EXPECT_EQ(3145828 - start, 462336);
  ASSERT_EQ(Unpack(dest / "setup.exe", dest / "shipped", start), 0);
  EXPECT_EQ(ReadFile(dest / "shipped\\top.txt"), "top file\n");
  ASSERT_EQ(Unpack(dest / "setup.exe", dest / "from-zero", 0), 0) << "search start 0 reaches 3 MiB";
  EXPECT_EQ(ReadFile(dest / "from-zero\\outer\\inner\\deep.txt"), "deep file\n");
}
