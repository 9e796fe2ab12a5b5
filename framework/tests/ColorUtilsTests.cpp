// Colour helpers on system colours and palette displays.
#include <gtest/gtest.h>

#include "gui/ColorMath.h"
#include "gui/ColorUtils.h"

namespace fw {
namespace {

struct TPaletteDisplay {
  bool Saved = HighColor;
  TPaletteDisplay() { HighColor = false; }
  ~TPaletteDisplay() { HighColor = Saved; }
};

TEST(ColorUtils, SystemColoursStayAsTheyAreAtTheEnds) {
  EXPECT_EQ(BlendColors(clBtnFace, clBtnShadow, 0), clBtnFace);
  EXPECT_EQ(BlendColors(clBtnFace, clBtnShadow, 100), clBtnShadow);
  EXPECT_EQ(BlendColors(clBtnFace, clBtnShadow, 200), clBtnShadow);
  EXPECT_EQ(BlendColors(clRed, clBlue, 50), static_cast<TColor>(MakeRgb(127, 0, 128)));
  TColor half = BlendColors(clBtnFace, clBlack, 50);
  EXPECT_EQ(half, static_cast<TColor>(BlendRgb(ColorToRGB(clBtnFace), 0, 50)));
  EXPECT_EQ(ColorToGray(clRed), static_cast<TColor>(MakeRgb(51, 51, 51)));
  EXPECT_TRUE(IsLightColor(clWhite));
  EXPECT_FALSE(IsLightColor(static_cast<TColor>(MakeRgb(95, 95, 95))));
}

TEST(ColorUtils, PaletteDisplaysBlendCoarselyButReachTheEnds) {
  TPaletteDisplay palette;
  EXPECT_EQ(LightenColor(clBtnFace, 45), clBtnFace);
  EXPECT_EQ(DarkenColor(clWhite, 100), clBlack);
  EXPECT_EQ(BlendColors(clWhite, clBlack, 100), clBlack);
  EXPECT_EQ(BlendColors(clWhite, clBlack, 75), static_cast<TColor>(MakeRgb(127, 127, 127)));  // a half step
}

}  // namespace
}  // namespace fw
