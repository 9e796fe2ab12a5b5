// The 3D effects' copies and colours, drawn on memory bitmaps; ellipses in a real font;
// measuring and drawing of the line list in its layouts.
#include <gtest/gtest.h>

#include "wizard/OxStringList.h"
#include "wizard/TextDrawing.h"

namespace setup {
namespace {

using namespace fw;

constexpr COLORREF kPaper = RGB(0x20, 0x60, 0x20);

// A bitmap filled with paper and a canvas on it with an unsmoothed Arial (no grey edges).
struct TSheet {
  TMemoryBitmap Bitmap;
  TGdiCanvas Canvas;
  explicit TSheet(int Width = 200, int Height = 80, int FontHeight = -20, int Angle = 0)
      : Bitmap(Width, Height), Canvas(Bitmap.DC()) {
    Canvas.FillRect(RECT{0, 0, Width, Height}, static_cast<TColor>(kPaper));
    LOGFONTA lf{};
    lf.lfHeight = FontHeight;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.lfEscapement = Angle * 10;
    lstrcpyA(lf.lfFaceName, "Arial");
    Canvas.SetFontHandle(MakeFont(lf));
  }
  // The rectangle of pixels that are not paper (empty when none).
  RECT Ink() const {
    RECT r{Bitmap.Width(), Bitmap.Height(), 0, 0};
    for (int y = 0; y < Bitmap.Height(); ++y)
      for (int x = 0; x < Bitmap.Width(); ++x)
        if (Bitmap.Pixel(x, y) != kPaper) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x + 1);
          r.bottom = std::max<LONG>(r.bottom, y + 1);
        }
    return r;
  }
  bool Has(COLORREF Color) const {
    for (int y = 0; y < Bitmap.Height(); ++y)
      for (int x = 0; x < Bitmap.Width(); ++x)
        if (Bitmap.Pixel(x, y) == Color) return true;
    return false;
  }
};

RECT Drawn(T3DEffect Effect, TColor TextColor = clBlack, COLORREF* Corner = nullptr) {
  TSheet sheet;
  sheet.Canvas.SetTextColor(TextColor);
  DrawText3D(sheet.Canvas, RECT{20, 20, 21, 21}, "HI", 0, DT_NOCLIP | DT_NOPREFIX, Effect);
  EXPECT_EQ(GetTextColor(sheet.Bitmap.DC()), ColorToRGB(TextColor)) << "the text colour is kept";
  RECT ink = sheet.Ink();
  if (Corner != nullptr) *Corner = sheet.Bitmap.Pixel(ink.right - 1, ink.bottom - 1);
  return ink;
}

TEST(DrawText3D, EveryEffectDrawsItsCopiesWhereTheyBelong) {
  const RECT plain = Drawn(ox3Normal);
  ASSERT_LT(plain.left, plain.right);
  auto expectShift = [&](T3DEffect Effect, int Left, int Top, int Right, int Bottom) {
    RECT r = Drawn(Effect);
    SCOPED_TRACE(static_cast<int>(Effect));
    EXPECT_EQ(r.left, plain.left + Left);
    EXPECT_EQ(r.top, plain.top + Top);
    EXPECT_EQ(r.right, plain.right + Right);
    EXPECT_EQ(r.bottom, plain.bottom + Bottom);
  };
  expectShift(ox3Flat, 0, 0, 0, 0);
  expectShift(ox3Raised, -1, -1, 0, 0);
  expectShift(ox3Inset, 0, 0, 1, 1);
  expectShift(ox3Ridged, -1, -1, 1, 1);
  expectShift(ox3Grooved, -1, -1, 1, 1);
  expectShift(ox3Shadow, 0, 0, 2, 2);
  expectShift(ox3Disabled, 0, 0, 1, 1);
  RECT none = Drawn(ox3None);
  EXPECT_GE(none.left, none.right) << "ox3None draws nothing";

  COLORREF corner = 0;
  Drawn(ox3Shadow, clBlack, &corner);
  EXPECT_EQ(corner, ColorToRGB(clBtnShadow));
  Drawn(ox3Disabled, clBlack, &corner);
  EXPECT_EQ(corner, ColorToRGB(clBtnHighlight));
}

TEST(DrawText3D, RaisedTextInTheHighlightColourGetsAShadowBelow) {
  ASSERT_EQ(ColorToRGB(clBtnHighlight), RGB(255, 255, 255));
  const RECT plain = Drawn(ox3Normal);
  COLORREF corner = 0;
  RECT raised = Drawn(ox3Raised, clWhite, &corner);
  EXPECT_EQ(raised.left, plain.left);
  EXPECT_EQ(raised.right, plain.right + 1);
  EXPECT_EQ(raised.bottom, plain.bottom + 1);
  EXPECT_EQ(corner, ColorToRGB(clBtnShadow));
}

TEST(TextDrawing, EllipsisInARealFont) {
  TSheet sheet;
  const std::string text = "Kavel Stavrel";
  EXPECT_EQ(EllipsisText(sheet.Canvas, text, 0), text);
  EXPECT_EQ(EllipsisText(sheet.Canvas, text, sheet.Canvas.TextWidth(text)), text);
  std::string cut = EllipsisText(sheet.Canvas, text, sheet.Canvas.TextWidth(text) - 1);
  ASSERT_GT(cut.size(), 3u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_LE(sheet.Canvas.TextWidth(cut), sheet.Canvas.TextWidth(text) - 1);
  EXPECT_EQ(EllipsisText(sheet.Canvas, text, 2), "...");
}

TEST(TextDrawing, RotatedFontKeepsTheFaceAndTurns) {
  TSheet sheet;
  TFontOwner turned = CreateRotatedFont(sheet.Canvas.FontHandle(), 90);
  LOGFONTA lf{};
  ASSERT_NE(GetObjectA(turned.Get(), sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfOutPrecision, OUT_TT_ONLY_PRECIS);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
}

// Two lines in the sheet's font.
struct TTwoLines {
  TSheet Sheet{300, 300};
  ToxStringList Lines;
  TTwoLines() {
    Lines.Add("Kavel");
    Lines.Add("Stavrel 4.0");
  }
};

TEST(ToxStringList, ExtentsFollowTheLayout) {
  TTwoLines t;
  const int w = t.Sheet.Canvas.TextWidth("Stavrel 4.0"), h = t.Sheet.Canvas.TextHeight("Kavel");
  SIZE plain = t.Lines.CalcExtent(t.Sheet.Canvas);
  EXPECT_EQ(plain.cx, w);
  EXPECT_EQ(plain.cy, 2 * h);
  t.Lines.Angle = 90;
  SIZE turned = t.Lines.CalcExtent(t.Sheet.Canvas);
  EXPECT_EQ(turned.cx, 2 * h);
  EXPECT_EQ(turned.cy, w);
  t.Lines.Angle = 0;
  t.Lines.Vertical = true;
  SIZE column = t.Lines.CalcExtent(t.Sheet.Canvas);
  EXPECT_EQ(column.cx, 2 * h);  // n x ((H - 3) + 3)
  EXPECT_EQ(column.cy, 11 * (h - 3) + 3);
}

TEST(ToxStringList, DrawnTextStaysInsideItsExtent) {
  for (int angle : {0, 30, 90, 135, 200, 300}) {
    TTwoLines t;
    t.Lines.Angle = angle;
    t.Lines.Alignment = taCenter;
    SIZE extent = t.Lines.CalcExtent(t.Sheet.Canvas);
    t.Lines.Draw(t.Sheet.Canvas, 100, 100);
    RECT ink = t.Sheet.Ink();
    SCOPED_TRACE(angle);
    ASSERT_LT(ink.left, ink.right);
    // A pixel or two of slack for the font's overhangs and rounding.
    EXPECT_GE(ink.left, 100 - 2);
    EXPECT_GE(ink.top, 100 - 2);
    EXPECT_LE(ink.right, 100 + extent.cx + 2);
    EXPECT_LE(ink.bottom, 100 + extent.cy + 2);
  }
}

TEST(ToxStringList, CircularTextStartsAtItsCornerWhateverTheRadius) {
  for (int radius : {80, -80, 20, 10, 1, -1}) {
    for (bool full : {true, false}) {
      TTwoLines t;
      t.Lines.Radius = radius;
      t.Lines.FullCircle = full;
      t.Lines.Alignment = taCenter;
      SIZE extent = t.Lines.CalcExtent(t.Sheet.Canvas);
      SCOPED_TRACE(testing::Message() << radius << (full ? " full" : " half"));
      EXPECT_GT(extent.cx, 0);
      EXPECT_LT(extent.cx, 1000);
      t.Lines.Draw(t.Sheet.Canvas, 20, 20);
      RECT ink = t.Sheet.Ink();
      ASSERT_LT(ink.left, ink.right);
      EXPECT_GE(ink.left, 20 - 3);
      EXPECT_GE(ink.top, 20 - 3);
    }
  }
}

TEST(ToxStringList, AcceleratorsAreUnderlinedOnlyWhenShown) {
  auto inkOf = [](const char* Text, bool Show) {
    TSheet sheet;
    ToxStringList lines;
    lines.Add(Text);
    lines.SetShowAccelChar(Show);
    lines.Draw(sheet.Canvas, 10, 10);
    return sheet.Ink();
  };
  RECT marked = inkOf("&HI", true), plain = inkOf("HI", true), literal = inkOf("&HI", false);
  EXPECT_GT(marked.bottom, plain.bottom) << "the underline";
  EXPECT_GT(literal.right, plain.right) << "the ampersand is drawn";
  RECT doubled = inkOf("A&&B", true), single = inkOf("A&B", false);
  EXPECT_EQ(doubled.right, single.right);
  EXPECT_EQ(doubled.bottom, single.bottom);
}

}  // namespace
}  // namespace setup
