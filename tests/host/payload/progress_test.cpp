#include "payload/progress.h"

#include <gtest/gtest.h>

using qx::payload::ProgressPercent;
using qx::payload::ProgressThrottle;

TEST(PayloadProgress, ThousandByteTable) {
  ProgressThrottle t;
  EXPECT_FALSE(t.Next(0, 1000));
  EXPECT_FALSE(t.Next(5, 1000));
  EXPECT_FALSE(t.Next(9, 1000));
  EXPECT_EQ(t.Next(10, 1000), 1u);
  EXPECT_FALSE(t.Next(19, 1000));
  EXPECT_EQ(t.Next(999, 1000), 99u);
  EXPECT_EQ(t.Next(1000, 1000), 100u);
  EXPECT_EQ(t.Next(1000, 1000), 100u) << "100 is reported again";
}

TEST(PayloadProgress, HundredOnlyWhenEverythingIsDone) {
  // Single precision cannot tell these apart; the last byte must still be
  // written before the page moves on.
  const uint64_t total = 300000001;
  EXPECT_EQ(ProgressPercent(total - 1, total), 99u);
  EXPECT_EQ(ProgressPercent(total, total), 100u);
  EXPECT_EQ(ProgressPercent(0, 0), 100u) << "an archive without data is done";
}

TEST(PayloadProgress, ReportsEachWholePercentOnceAndNeverGoesBack) {
  ProgressThrottle t;
  const uint64_t total = 123456789;
  int calls = 0;
  uint32_t last = 0;
  for (uint64_t done = 0; done <= total; done += 65536) {
    if (auto p = t.Next(done, total)) {
      ++calls;
      EXPECT_GE(*p, last);
      last = *p;
    }
  }
  EXPECT_EQ(t.Next(total, total), 100u);
  EXPECT_LE(calls, 100);
}
