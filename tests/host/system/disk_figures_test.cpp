#include "system/disk_figures.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

constexpr double kGb = 1024.0 * 1024 * 1024;

uint64_t Bytes(double gb) { return static_cast<uint64_t>(gb * kGb); }
SpaceMinimum Minimum(const char* value, bool numeric = true) { return {true, numeric, value}; }

TEST(DiskSpace, DriveIsTheLetterAndColonOnly) {
  EXPECT_EQ(DriveOfPath("C:\\Program Files\\QXSimulator"), "C:");
  EXPECT_EQ(DriveOfPath("d:"), "d:");
  EXPECT_EQ(DriveOfPath("\\\\server\\share\\x"), "");
  EXPECT_EQ(DriveOfPath("relative\\x"), "");
  EXPECT_EQ(DriveOfPath(""), "");
}

TEST(DiskSpace, RoundsToTwoDecimalsBeforeComparing) {
  EXPECT_DOUBLE_EQ(RoundedGigabytes(Bytes(6.999)), 7.00);
  EXPECT_TRUE(JudgeDiskSpace(Bytes(6.999), Minimum("7")).enough);
  EXPECT_TRUE(JudgeDiskSpace(Bytes(7), Minimum("7")).enough);

  const SpaceVerdict shortBy = JudgeDiskSpace(Bytes(6.994), Minimum("7"));
  EXPECT_FALSE(shortBy.enough);
  EXPECT_TRUE(shortBy.requiredKnown);
  EXPECT_EQ(shortBy.requiredGb, 7);
}

TEST(DiskSpace, FractionalMinimumComparesWhole) {
  const SpaceVerdict verdict = JudgeDiskSpace(Bytes(7.4), Minimum("7.5"));
  EXPECT_FALSE(verdict.enough);
  EXPECT_EQ(verdict.requiredGb, 7);  // the message shows the whole part
  EXPECT_TRUE(JudgeDiskSpace(Bytes(7.6), Minimum("7.5")).enough);
}

TEST(DiskSpace, MissingZeroOrTextMinimumAlwaysPasses) {
  for (const SpaceVerdict& v : {JudgeDiskSpace(0, SpaceMinimum{}), JudgeDiskSpace(0, Minimum("7GB", false)),
                                JudgeDiskSpace(0, Minimum("", false))}) {
    EXPECT_TRUE(v.enough);
    EXPECT_FALSE(v.requiredKnown);
  }
  const SpaceVerdict zero = JudgeDiskSpace(0, Minimum("0"));
  EXPECT_TRUE(zero.enough);
  EXPECT_TRUE(zero.requiredKnown);
  EXPECT_EQ(zero.requiredGb, 0);
}

TEST(DiskSpace, HugeDisksNeitherOverflowNorFail) {
  EXPECT_DOUBLE_EQ(RoundedGigabytes(Bytes(1000000)), 1000000.0);
  EXPECT_TRUE(JudgeDiskSpace(Bytes(1000000), Minimum("7")).enough);
  EXPECT_TRUE(JudgeDiskSpace(UINT64_MAX, Minimum("7")).enough);
  EXPECT_FALSE(JudgeDiskSpace(Bytes(1000000), Minimum("2000000")).enough);
  // A minimum too large for the message's integer is clamped, not undefined.
  EXPECT_EQ(JudgeDiskSpace(0, Minimum("99999999999")).requiredGb, 2147483647);
}

}  // namespace
}  // namespace qx
