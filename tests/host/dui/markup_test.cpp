#include "dui/markup.h"

#include <gtest/gtest.h>

using qx::dui::ImageDescription;
using qx::dui::Rect;

TEST(Markup, RectsTakeBlanksAndShortForms) {
  EXPECT_EQ(qx::dui::ParseRect("552,6,0,0"), (Rect{552, 6, 0, 0}));
  EXPECT_EQ(qx::dui::ParseRect(" 0 , 0 ,0, 270 "), (Rect{0, 0, 0, 270}));
  EXPECT_EQ(qx::dui::ParseRect("20,-3"), (Rect{20, -3, 0, 0}));
  EXPECT_FALSE(qx::dui::ParseRect(""));
  EXPECT_FALSE(qx::dui::ParseRect("1,2,3,4,5"));
  EXPECT_FALSE(qx::dui::ParseRect("1,,3,4"));
  EXPECT_FALSE(qx::dui::ParseRect("1px,2,3,4"));
  EXPECT_EQ(qx::dui::ParseSize("610,390"), (std::pair{610, 390}));
  EXPECT_FALSE(qx::dui::ParseSize("610"));
}

TEST(Markup, ColoursAreArgbWithOpaqueShortForm) {
  EXPECT_EQ(qx::dui::ParseColor("#FF838790"), 0xFF838790u);
  EXPECT_EQ(qx::dui::ParseColor("#00ffffff"), 0x00FFFFFFu);
  EXPECT_EQ(qx::dui::ParseColor("#E53935"), 0xFFE53935u);
  EXPECT_EQ(qx::dui::ParseColor("0xFF000000"), 0xFF000000u);
  EXPECT_FALSE(qx::dui::ParseColor("FF838790"));
  EXPECT_FALSE(qx::dui::ParseColor("#FF83879"));
  EXPECT_FALSE(qx::dui::ParseColor("#FF83879G"));
  EXPECT_FALSE(qx::dui::ParseColor("#"));
}

TEST(Markup, ImageDescriptions) {
  EXPECT_EQ(qx::dui::ParseImageDescription("image\\bg_install_step1.bmp"),
            (ImageDescription{"image\\bg_install_step1.bmp", std::nullopt, std::nullopt}));
  EXPECT_EQ(qx::dui::ParseImageDescription("file='image\\mini.bmp' source='0,15,19,30'"),
            (ImageDescription{"image\\mini.bmp", Rect{0, 15, 19, 30}, std::nullopt}));
  EXPECT_EQ(qx::dui::ParseImageDescription(" file=\"image\\x.bmp\"  mask='#FFFF00FF' corner='2,2,2,2'"),
            (ImageDescription{"image\\x.bmp", std::nullopt, 0xFFFF00FFu}));
  // Broken descriptions draw nothing rather than a wrong part of the image.
  EXPECT_FALSE(qx::dui::ParseImageDescription(""));
  EXPECT_FALSE(qx::dui::ParseImageDescription("file='image\\x.bmp"));
  EXPECT_FALSE(qx::dui::ParseImageDescription("file='image\\x.bmp' source='0,0,a,b'"));
  EXPECT_FALSE(qx::dui::ParseImageDescription("source='0,0,1,1'"));
  EXPECT_FALSE(qx::dui::ParseImageDescription("file=image.bmp source='0,0,1,1'"));
}
