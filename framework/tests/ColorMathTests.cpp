// The colour formulas: blending with halves to even, MulDiv's rounding, grey values,
// the bands of a backdrop and the table of a stepped gradient.
#include <gtest/gtest.h>

#include "gui/ColorMath.h"

namespace fw {
namespace {

constexpr TRgbValue kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0;

TEST(ColorMath, RoundingRules) {
  EXPECT_EQ(DivRoundHalfEven(-12750, 100), -128);  // -127.5 -> even -128
  EXPECT_EQ(DivRoundHalfEven(12750, 100), 128);
  EXPECT_EQ(DivRoundHalfEven(12650, 100), 126);  // 126.5 -> 126
  EXPECT_EQ(DivRoundHalfEven(-251, 100), -3);
  EXPECT_EQ(MulDivRound(1, 1, 2), 1);  // halves away from zero
  EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
  EXPECT_EQ(MulDivRound(1, -1, -2), 1);
  EXPECT_EQ(MulDivRound(5, 7, 0), -1);
  EXPECT_EQ(MulDivRound(2000000000, 3, 4), 1500000000);  // no overflow in the product
}

TEST(ColorMath, BlendAndPercentages) {
  EXPECT_EQ(BlendRgb(kRed, kBlue, 50), MakeRgb(127, 0, 128));
  EXPECT_EQ(BlendRgb(kRed, kBlue, 0), kRed);
  EXPECT_EQ(BlendRgb(kRed, kBlue, 100), kBlue);
  EXPECT_EQ(BlendRgb(MakeRgb(10, 20, 30), kWhite, 45), MakeRgb(10 + 110, 20 + 106, 30 + 101));
  // Palette displays: below 50 nothing, a coarse step up to 99, the second colour at 100.
  EXPECT_EQ(EffectivePercent(45, false), 0);
  EXPECT_EQ(EffectivePercent(49, false), 0);
  EXPECT_EQ(EffectivePercent(50, false), 50);
  EXPECT_EQ(EffectivePercent(99, false), 50);
  EXPECT_EQ(EffectivePercent(100, false), 100);
  EXPECT_EQ(EffectivePercent(45, true), 45);
}

TEST(ColorMath, GrayAndLightness) {
  EXPECT_EQ(GrayOfRgb(kRed), MakeRgb(51, 51, 51));
  EXPECT_EQ(GrayOfRgb(kBlue), MakeRgb(76, 76, 76));  // 76.5 -> 76
  EXPECT_EQ(GrayOfRgb(kWhite), kWhite);
  EXPECT_TRUE(IsLightRgb(MakeRgb(96, 96, 96)));
  EXPECT_FALSE(IsLightRgb(MakeRgb(95, 95, 95)));
  EXPECT_FALSE(IsLightRgb(kBlack));
  EXPECT_TRUE(IsLightRgb(0x00FFFF));  // yellow: 0.2 x 255 + 0.5 x 255 = 178.5 -> 178
}

TEST(ColorMath, BandsCoverTheExtentFromFirstToSecond) {
  auto bands = GradientBands(kBlue, kBlack, 512, false);
  ASSERT_EQ(bands.size(), 256u);
  EXPECT_EQ(bands.front().From, 0);
  EXPECT_EQ(bands.front().Color, kBlue);
  EXPECT_EQ(bands.back().To, 512);
  EXPECT_EQ(bands.back().Color, kBlack);
  for (size_t i = 1; i < bands.size(); ++i) EXPECT_EQ(bands[i].From, bands[i - 1].To);
  // Band 128: 255 - MulDiv(128, 255, 255) = 127.
  EXPECT_EQ(bands[128].Color, MakeRgb(0, 0, 127));
}

TEST(ColorMath, SymmetricBandsMeetInTheMiddle) {
  auto bands = GradientBands(kWhite, kBlack, 256, true);
  ASSERT_EQ(bands.size(), 256u);
  int colourAt[256];
  for (const auto& b : bands)
    for (int p = b.From; p < b.To; ++p) colourAt[p] = RedOf(b.Color);
  EXPECT_EQ(colourAt[0], 255);
  EXPECT_EQ(colourAt[255], 255);
  EXPECT_EQ(colourAt[127], 0);
  EXPECT_EQ(colourAt[128], 0);
  for (int p = 0; p < 128; ++p) EXPECT_EQ(colourAt[p], colourAt[255 - p]);
}

TEST(ColorMath, SmallExtentsLeaveEmptyPositionsOut) {
  auto bands = GradientBands(kWhite, kBlack, 100, false);
  EXPECT_EQ(bands.size(), 100u);
  EXPECT_EQ(bands.back().To, 100);
  EXPECT_EQ(bands.back().Color, MakeRgb(1, 1, 1));  // position 255 covers no pixel
  EXPECT_TRUE(GradientBands(kWhite, kBlack, 0, false).empty());
}

TEST(ColorMath, SteppedTableStartsAtTheEndColour) {
  auto table = SteppedGradientTable(kBlack, kWhite, 128);
  ASSERT_EQ(table.size(), 128u);
  EXPECT_EQ(table[0], kWhite);
  // 255 / 128 x 127 = 253.0078 -> 253: one step short of the start colour.
  EXPECT_EQ(table[127], MakeRgb(2, 2, 2));
  // 255 / 128 x 64 = 127.5 -> even 128.
  EXPECT_EQ(table[64], MakeRgb(127, 127, 127));
  TSpan band = SteppedBand(10, 256, 128, 3);
  EXPECT_EQ(band.From, 16);
  EXPECT_EQ(band.To, 19);
}

}  // namespace
}  // namespace fw
