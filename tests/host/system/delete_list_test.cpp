#include "system/delete_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qx {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(DeleteListPath, BesideTheInstallFolder) {
  EXPECT_EQ(DeleteListPath("D:\\Apps\\QXSimulator"), "D:\\Apps\\DeleteFile.xml");
  EXPECT_EQ(DeleteListPath("C:\\Program Files\\QXSimulator"), "C:\\Program Files\\DeleteFile.xml");
  EXPECT_EQ(DeleteListPath("C:\\QXSimulator"), "C:\\\\DeleteFile.xml");
}

TEST(DeleteListPath, TooLongForThePathBufferIsNotRead) {
  const std::string deep = "C:\\" + std::string(245, 'a') + "\\QX";  // fits 260, the list path does not
  EXPECT_EQ(DeleteListPath(deep), "");
  EXPECT_EQ(DeleteListPath("C:\\" + std::string(300, 'a')), "");
  const std::string fits = "C:\\" + std::string(230, 'a') + "\\QX";
  EXPECT_EQ(DeleteListPath(fits).size(), 3 + 230 + 15u);
}

TEST(DeleteList, EntriesFromTheFirstNamedChildOn) {
  const auto list = ParseDeleteList(
      "\xEF\xBB\xBF<anything a='1'>"
      "<!-- ignored -->"
      "<DeleteFiles>"
      "  <Other>C:\\skipped-before-first</Other>"
      "  <DeleteFile>C:\\a.txt</DeleteFile>"
      "  <DeleteFile/>"
      "  <Stray>C:\\b &amp; c.txt</Stray>"
      "  <DeleteFile>C:\\d.txt</DeleteFile>"
      "</DeleteFiles>"
      "<DeleteFiles><DeleteFile>C:\\second-group.txt</DeleteFile></DeleteFiles>"
      "<DeleteFolders><DeleteFolder> C:\\spaced </DeleteFolder><x>C:\\y</x></DeleteFolders>"
      "</anything>");
  ASSERT_TRUE(list);
  EXPECT_THAT(list->files, ElementsAre("C:\\a.txt", "C:\\b & c.txt", "C:\\d.txt"));
  EXPECT_THAT(list->folders, ElementsAre(" C:\\spaced ", "C:\\y"));
}

TEST(DeleteList, MissingGroupsAndFirstEntriesGiveNothing) {
  auto list = ParseDeleteList("<r><DeleteFolders><Other>C:\\x</Other></DeleteFolders></r>");
  ASSERT_TRUE(list);
  EXPECT_THAT(list->files, IsEmpty());
  EXPECT_THAT(list->folders, IsEmpty());
  // Only direct children of the root count.
  list = ParseDeleteList("<r><w><DeleteFiles><DeleteFile>C:\\x</DeleteFile></DeleteFiles></w></r>");
  ASSERT_TRUE(list);
  EXPECT_THAT(list->files, IsEmpty());
}

TEST(DeleteList, MalformedOrEmptyDocumentIsNoList) {
  EXPECT_FALSE(ParseDeleteList("<r><DeleteFiles></r>"));
  EXPECT_FALSE(ParseDeleteList(""));
  EXPECT_FALSE(ParseDeleteList("<!-- only a comment -->"));
  EXPECT_FALSE(LoadDeleteList("/nonexistent/DeleteFile.xml"));
}

}  // namespace
}  // namespace qx
