#include "system/split.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qx {
namespace {

using ::testing::ElementsAre;

TEST(SplitByDelimiter, KeepsEmptyAndBlankPieces) {
  EXPECT_THAT(SplitByDelimiter("a;b", ";"), ElementsAre("a", "b"));
  EXPECT_THAT(SplitByDelimiter("A.exe;;B.exe;", ";"), ElementsAre("A.exe", "", "B.exe", ""));
  EXPECT_THAT(SplitByDelimiter(" a ; b", ";"), ElementsAre(" a ", " b"));
  EXPECT_THAT(SplitByDelimiter("", ";"), ElementsAre(""));
  EXPECT_THAT(SplitByDelimiter(";", ";"), ElementsAre("", ""));
}

TEST(SplitByDelimiter, LongDelimiterIsOneUnit) {
  EXPECT_THAT(SplitByDelimiter("ab", "::"), ElementsAre("ab"));
  EXPECT_THAT(SplitByDelimiter("a::b:c", "::"), ElementsAre("a", "b:c"));
  EXPECT_THAT(SplitByDelimiter("a:::b", "::"), ElementsAre("a", ":b"));
}

}  // namespace
}  // namespace qx
