#include "core/text.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(SettingsEntry, BlanksAroundKeyAndValueAreDropped) {
  const KeyValue kv = SplitEntry("RegeditKeyName\t\t=\tQXSimulator");
  EXPECT_EQ(kv.key, "RegeditKeyName");
  EXPECT_EQ(kv.value, "QXSimulator");
  EXPECT_EQ(SplitEntry(" \tNoModify = 1\t ").value, "1");
}

TEST(SettingsEntry, ValueKeepsEverythingAfterTheFirstEquals) {
  const KeyValue kv = SplitEntry("a=b=c");
  EXPECT_EQ(kv.key, "a");
  EXPECT_EQ(kv.value, "b=c");
  EXPECT_EQ(SplitEntry("=x").key, "");
  EXPECT_EQ(SplitEntry("lonely").key, "lonely");
  EXPECT_EQ(SplitEntry("lonely").value, "");
}

TEST(NumericFlag, NumbersWithBlanksAroundAreNumeric) {
  for (const char* v : {"7", " 1760", "1\t", "-2", "1.5", "1e3"}) EXPECT_TRUE(IsNumericValue(v)) << v;
}

TEST(NumericFlag, TextAndVersionStringsAreNot) {
  for (const char* v : {"", "  ", "0.2.0.1760", "7GB", "QXSimulator", "1 2", "\xC0\xBB"})
    EXPECT_FALSE(IsNumericValue(v)) << v;
}

// The edges where a double's stream extraction decides.
TEST(NumericFlag, ReadsAsStreamExtractionOfADouble) {
  for (const char* v : {"+5", ".5", "5.", "\n7", "-0", "1E-3", "007"}) EXPECT_TRUE(IsNumericValue(v)) << v;
  for (const char* v : {"inf", "nan", "-inf", "1e", ".", "+", "+-1", "--1", "1e999", "0x10", "1,5"})
    EXPECT_FALSE(IsNumericValue(v)) << v;
}

TEST(ZeroList, ParsesByCountEvenWithoutTheFinalZero) {
  const char full[] = "a\0bc\0\0";
  EXPECT_EQ(SplitZeroList(full, sizeof full - 1), (std::vector<std::string>{"a", "bc"}));
  // A truncated reader result: the last string lacks its zero.
  const char cut[] = {'a', '\0', 'b', 'c'};
  EXPECT_EQ(SplitZeroList(cut, sizeof cut), (std::vector<std::string>{"a", "bc"}));
  EXPECT_TRUE(SplitZeroList("", 0).empty());
}

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoreAsciiCase("qxsimulator.EXE", "QXSimulator.exe"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("QXSimulator.exe", "QXSimulator.ex"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("\xC0", "\xE0"));  // not Latin-1 folding
}

}  // namespace
}  // namespace qx
