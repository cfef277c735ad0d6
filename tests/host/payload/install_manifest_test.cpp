#include "payload/install_manifest.h"

#include <gtest/gtest.h>

using namespace qx::payload;

namespace {

std::string ListOf(const std::vector<std::string>& lines) {
  std::string text = "qx-item-list 1\r\n";
  for (const auto& line : lines) text += line + "\r\n";
  return text + "end " + std::to_string(lines.size()) + "\r\n";
}

}  // namespace

TEST(ItemList, RoundTripsWithWindowsSeparatorsAndAnyScript) {
  const std::vector<ListedItem> items = {{true, "bin"}, {false, "bin/plugins/深层/插件.dll"}, {false, "说明 (1).txt"}};
  const auto parsed = ParseItemList(RenderItemList(items));
  ASSERT_TRUE(parsed);
  const std::vector<ListedItem> expected = {
      {true, "bin"}, {false, "bin\\plugins\\深层\\插件.dll"}, {false, "说明 (1).txt"}};
  EXPECT_EQ(*parsed, expected);
  // Line ends as an editor may leave them, and an empty list.
  EXPECT_TRUE(ParseItemList("qx-item-list 1\nF a\nend 1\n"));
  EXPECT_EQ(ParseItemList(RenderItemList({}))->size(), 0u);
}

// The list decides what an administrator's uninstaller deletes, and anyone
// who can write to the install folder can edit it: one bad line and the
// whole list is refused, so nothing is removed by a partial reading.
TEST(ItemList, RefusesAnyPathThatCouldLeaveTheFolder) {
  for (const char* bad :
       {"F ..\\x", "F a\\..\\..\\b", "F \\abs", "F C:\\x", "F C:x", "F a\\\\b", "F a\\", "F .", "F x\\.\\y",
        "F a.txt:stream", "F a/b", "F a\tb", "F \xC0\xAF", "F \xED\xA0\x80", "F a*", "D ..", "F ", "F"}) {
    EXPECT_FALSE(ParseItemList(ListOf({"F good.txt", bad}))) << bad;
  }
  EXPECT_TRUE(ParseItemList(ListOf({"F good.txt", "F ..a", "F a..b\\...\\c", "D [Content]"})));
}

TEST(ItemList, RefusesWhatIsNotOneWholeList) {
  const std::string whole = ListOf({"D bin", "F bin\\a.dll"});
  ASSERT_TRUE(ParseItemList(whole));
  for (size_t cut = 0; cut < whole.size(); ++cut) EXPECT_FALSE(ParseItemList(whole.substr(0, cut))) << "cut at " << cut;
  EXPECT_FALSE(ParseItemList(whole + "F late.txt\r\n"));
  EXPECT_FALSE(ParseItemList("qx-item-list 2\r\nend 0\r\n"));
  EXPECT_FALSE(ParseItemList("qx-item-list 1\r\nF a\r\nend 2\r\n"));
  EXPECT_FALSE(ParseItemList("qx-item-list 1\r\nX a\r\nend 1\r\n"));
  EXPECT_FALSE(ParseItemList("qx-item-list 1\r\nF a\r\nend 1x\r\n"));
  EXPECT_FALSE(ParseItemList("qx-item-list 1\r\nF a\r\nend 99999999999\r\n"));
}

TEST(ItemList, FoldersComeDeepestFirst) {
  const std::vector<ListedItem> items = {{true, "a"}, {false, "a\\f"}, {true, "a\\b\\c"},
                                         {true, "z"}, {true, "a\\b"},  {true, "y\\q"}};
  EXPECT_EQ(FoldersDeepestFirst(items), (std::vector<std::string>{"a\\b\\c", "a\\b", "y\\q", "a", "z"}));
}
