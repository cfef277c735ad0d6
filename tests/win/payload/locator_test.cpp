// The locator on real files: whole-MiB probes, as the installer reads itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/ini_info.h"
#include "payload/extract.h"
#include "payload/layout.h"
#include "temp_folder.h"

using namespace qx::payload;

namespace {

// A file of `size` bytes (zeros) with `pieces` written at their offsets.
void MakeSparse(const std::string& path, int64_t size, const std::vector<std::pair<int64_t, std::string>>& pieces) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  LARGE_INTEGER at;
  at.QuadPart = size;
  ::SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
  ::SetEndOfFile(f);
  for (const auto& [offset, bytes] : pieces) {
    at.QuadPart = offset;
    ::SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
    DWORD written = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  ::CloseHandle(f);
}

std::string Rec(int64_t start) {
  const auto r = MakeRecord("QX7zOffset", start);
  return std::string(r->data(), r->size());
}

}  // namespace

TEST(Locator, ReadsTheRecordAtTheLowestWholeMiBWithAFullMiBBehindIt) {
  qx::test::TempFolder t("locator");
  MakeSparse(t / "small.exe", 2 * kMiB - 1, {{kMiB, Rec(5)}});
  EXPECT_EQ(FindPayloadSearchStart(t / "small.exe", "QX7zOffset"), 0);

  MakeSparse(t / "big.exe", 64000000, {{3 * kMiB - 4321, "QX7zOffset"}, {3 * kMiB, Rec(2683492)}});
  EXPECT_EQ(FindPayloadSearchStart(t / "big.exe", "QX7zOffset"), 2683492);

  MakeSparse(t / "tail.exe", 6 * kMiB - 10, {{5 * kMiB, Rec(7)}});
  EXPECT_EQ(FindPayloadSearchStart(t / "tail.exe", "QX7zOffset"), 0);

  MakeSparse(t / "longer.exe", 8 * kMiB, {{2 * kMiB, "QX7zOffsetX" + std::string(39, '\0') + "99"}});
  EXPECT_EQ(FindPayloadSearchStart(t / "longer.exe", "QX7zOffset"), 0);

  MakeSparse(t / "two.exe", 8 * kMiB, {{4 * kMiB, Rec(400)}, {2 * kMiB, Rec(200)}});
  EXPECT_EQ(FindPayloadSearchStart(t / "two.exe", "QX7zOffset"), 200);

  EXPECT_EQ(FindPayloadSearchStart(t / "missing.exe", "QX7zOffset"), 0);
}

TEST(Locator, OwnFileWithoutPayloadGivesZero) {
  CIniInfoManager::Instance().Clear();
  CIniInfoManager::Instance().AddEntry("OFFSET_FLAG", "flag", "QX7zOffset");
  int64_t start = -1;
  GetPayloadOffset(start);
  EXPECT_EQ(start, 0);
  CIniInfoManager::Instance().Clear();
}
