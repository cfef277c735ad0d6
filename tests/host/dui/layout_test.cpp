#include "dui/layout.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The page layouts as the skin writes them, with the quirks other writers
// leave in: no blank between attributes, a repeated attribute, a BOM.
const char kFonts[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Window>\n"
    "  <Font id=\"2\" name=\"Microsoft YaHei\" size=\"12\" bold=\"false\" />\n"
    "  <Font id=\"18\" name=\"Microsoft YaHei\" size=\"16\" bold=\"true\" />\n"
    "  <Font id=\"30\" name=\"Microsoft YaHei\" size=\"13\" underline=\"true\" />\n"
    "</Window>\n";

const char kPage[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"standalone=\"yes\" ?>\n"
    "<Window size=\"610,390\" caption=\"0,0,0,270\">\n"
    "  <Include source=\"UIFont.xml\" />\n"
    "  <HorizontalLayout name=\"root\">\n"
    "    <VerticalLayout name=\"Container_custom_install\" height=\"390\">\n"
    "      <Option name=\"btn_checkbox\" float=\"true\" pos=\"13,352,0,0\" width=\"15\" height=\"15\""
    "textpadding=\"20,0,-106,0\" text=\"\" selected=\"true\" text=\"我已阅读并同意\" />\n"
    "      <Label name=\"l_site\" text=\"安装位置:\" font=\"3\" />\n"
    "    </VerticalLayout>\n"
    "  </HorizontalLayout>\n"
    "</Window>\n";

std::map<std::string, std::string> g_files;

bool Load(std::string_view name, std::string& text) {
  auto it = g_files.find(std::string(name));
  if (it == g_files.end()) return false;
  text = it->second;
  return true;
}

}  // namespace

TEST(Layout, ReadsPageWithIncludedFontsAndQuirks) {
  g_files = {{"UIFont.xml", kFonts}};
  auto layout = qx::dui::ParseLayout(kPage, Load);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->width, 610);
  EXPECT_EQ(layout->height, 390);
  EXPECT_EQ(layout->caption, (qx::dui::Rect{0, 0, 0, 270}));
  ASSERT_EQ(layout->fonts.size(), 3u);
  EXPECT_EQ(layout->fonts[1], (qx::dui::FontSpec{18, "Microsoft YaHei", 16, true, false, false}));
  EXPECT_TRUE(layout->fonts[2].underline);

  ASSERT_EQ(layout->controls.size(), 1u);
  const auto& root = layout->controls[0];
  EXPECT_EQ(root.type, "HorizontalLayout");
  EXPECT_EQ(root.Attribute("name"), "root");
  ASSERT_EQ(root.children.size(), 1u);
  const auto& container = root.children[0];
  ASSERT_EQ(container.children.size(), 2u);
  const auto& option = container.children[0];
  EXPECT_EQ(option.type, "Option");
  EXPECT_EQ(option.Attribute("textpadding"), "20,0,-106,0");
  // The later text wins, and both stay in order for whoever applies them.
  EXPECT_EQ(option.Attribute("text"), "我已阅读并同意");
  ASSERT_EQ(option.attributes.back().first, "text");
  EXPECT_FALSE(option.Attribute("missing"));
  EXPECT_EQ(container.children[1].Attribute("text"), "安装位置:");
}

TEST(Layout, MissingOrLoopingIncludesStillGiveThePage) {
  g_files.clear();
  auto layout = qx::dui::ParseLayout(kPage, Load);
  ASSERT_TRUE(layout);
  EXPECT_TRUE(layout->fonts.empty());
  EXPECT_EQ(layout->controls.size(), 1u);

  // A file that includes itself must end.
  g_files = {{"self.xml", "<Window><Include source=\"self.xml\" /><Font id=\"1\" size=\"9\" /></Window>"}};
  layout = qx::dui::ParseLayout(g_files["self.xml"], Load);
  ASSERT_TRUE(layout);
  EXPECT_LE(layout->fonts.size(), 8u);
}

TEST(Layout, RefusesTextThatIsNoPageLayout) {
  EXPECT_FALSE(qx::dui::ParseLayout("", Load));
  EXPECT_FALSE(qx::dui::ParseLayout("<Window><Button></Window>", Load));
  EXPECT_FALSE(qx::dui::ParseLayout("<Dialog size=\"1,1\"><Button /></Dialog>", Load));
  auto layout = qx::dui::ParseLayout("<Window size=\"oops\"><Button name=\"b\"/></Window>", Load);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->width, 0);
}
