// Line breaks, accelerators, ellipses and the extent of text blocks.
#include <gtest/gtest.h>

#include <cmath>

#include "wizard/TextLayout.h"

namespace setup {
namespace {

TEST(TextLayout, PipesAndLineBreaks) {
  std::string text = "Kavel||Stavrel";
  EXPECT_EQ(PipesToLineBreaks(text), 2);
  EXPECT_EQ(text, "Kavel\r\nStavrel");
  LineBreaksToPipes(text);
  EXPECT_EQ(text, "Kavel||Stavrel");
  std::string ended = "One\r\nTwo\r\n";
  LineBreaksToPipes(ended);
  EXPECT_EQ(ended, "One||Two");
  std::string empty;
  EXPECT_EQ(PipesToLineBreaks(empty), 0);
  std::string triple = "a|||b";
  EXPECT_EQ(PipesToLineBreaks(triple), 2);
  EXPECT_EQ(triple, "a\r\n|b");
}

TEST(TextLayout, Accelerators) {
  auto single = StripAccelerators({"first", "&Open"});
  EXPECT_EQ(single.Lines[1], "Open");
  EXPECT_EQ(single.AccelColumn, 1);
  EXPECT_EQ(single.AccelLine, 1);
  auto doubled = StripAccelerators({"Fish && Chips"});
  EXPECT_EQ(doubled.Lines[0], "Fish & Chips");
  EXPECT_EQ(doubled.AccelLine, -1);
  auto lastWins = StripAccelerators({"&a&b", "&&c&"});
  EXPECT_EQ(lastWins.Lines[0], "ab");
  EXPECT_EQ(lastWins.Lines[1], "&c");
  EXPECT_EQ(lastWins.AccelColumn, 2);
  EXPECT_EQ(lastWins.AccelLine, 0);
  EXPECT_EQ(MarkAccelerator("Fish & Chips", 8), "Fish && &Chips");
}

TEST(TextLayout, Ellipsis) {
  auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 5; };
  EXPECT_EQ(FitWithEllipsis("Stavrel", 0, width), "Stavrel");
  EXPECT_EQ(FitWithEllipsis("Stavrel", 35, width), "Stavrel");
  EXPECT_EQ(FitWithEllipsis("Stavrel", 34, width), "Sta...");
  EXPECT_EQ(FitWithEllipsis("Stavrel", 30, width), "Sta...");
  EXPECT_EQ(FitWithEllipsis("Stavrel", 10, width), "...");  // narrower than "..."
  EXPECT_EQ(FitWithEllipsis("", 1, width), "");
}

TEST(TextLayout, RectFromPoints) {
  TIntRect r{0, 0, 0, 0};
  ExtendRectToPoints(r, {{10, 20}, {5, 30}, {7, 25}});
  EXPECT_EQ(r.Left, 5);
  EXPECT_EQ(r.Top, 20);
  EXPECT_EQ(r.Right, 10);
  EXPECT_EQ(r.Bottom, 30);
  ExtendRectToPoints(r, {{-3, 22}});
  EXPECT_EQ(r.Left, -3);
  EXPECT_EQ(r.Right, 10);
}

TEST(TextLayout, BlockExtents) {
  TIntSize plain = TextBlockExtent(60, 13, 2, 0, false);
  EXPECT_EQ(plain.Width, 60);
  EXPECT_EQ(plain.Height, 26);
  TIntSize turned = TextBlockExtent(60, 13, 2, 90, false);
  EXPECT_EQ(turned.Width, 26);
  EXPECT_EQ(turned.Height, 60);
  TIntSize column = TextBlockExtent(60, 13, 2, 0, true);
  EXPECT_EQ(column.Width, 32);
  EXPECT_EQ(column.Height, 63);
  TIntSize diagonal = TextBlockExtent(100, 10, 1, 45, false);
  EXPECT_EQ(diagonal.Width, 78);
  EXPECT_EQ(diagonal.Height, 78);
  TIntPoint origin = RotatedOrigin(0, 0, 100, 10, 1, 90);
  EXPECT_EQ(origin.X, 0);
  EXPECT_EQ(origin.Y, 100);
  origin = RotatedOrigin(0, 0, 100, 10, 1, 180);
  EXPECT_EQ(origin.X, 100);
  EXPECT_EQ(origin.Y, 10);
}

TEST(TextLayout, AlignmentAndArcs) {
  EXPECT_EQ(AlignmentOffset(TLineAlignment::Left, 100, 40), 0);
  EXPECT_EQ(AlignmentOffset(TLineAlignment::Right, 100, 40), 60);
  EXPECT_EQ(AlignmentOffset(TLineAlignment::Center, 100, 41), 29);
  EXPECT_NEAR(ArcDegrees(3.14159265, 180), 1.0, 1e-6);
  EXPECT_TRUE(std::isfinite(ArcDegrees(10, 0)));
  EXPECT_TRUE(std::isfinite(ArcDegrees(10, -5)));
}

}  // namespace
}  // namespace setup
