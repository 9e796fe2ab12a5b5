// The backdrop's current-one rule and the colours of its bands at their edges.
#include <gtest/gtest.h>

#include "gui/ColorMath.h"
#include "wizard/Backdrop.h"

namespace setup {
namespace {

using namespace fw;

TEST(Backdrop, OnlyOneIsCurrent) {
  TOwnedPtr<TComponent> owner(new TComponent(nullptr));
  auto* first = new TBackdrop(owner.get());
  auto* second = new TBackdrop(owner.get());
  EXPECT_EQ(first->Align(), alClient);
  EXPECT_EQ(CurrentBackdrop(), nullptr);
  first->SetTag(-1);
  EXPECT_EQ(CurrentBackdrop(), first);
  second->SetTag(-1);
  EXPECT_EQ(CurrentBackdrop(), second);
  EXPECT_EQ(first->Tag(), 0);
  second->SetTag(5);
  EXPECT_EQ(CurrentBackdrop(), nullptr);
  first->SetTag(-1);
  first->Free();
  EXPECT_EQ(CurrentBackdrop(), nullptr);
  second->Assign(second);  // from itself: nothing changes
  EXPECT_EQ(second->Direction(), bdUp);
}

// The backdrop painted on a memory bitmap of Width x Height.
struct TPaintedBackdrop {
  TOwnedPtr<TWinControl> Host{new TWinControl(nullptr)};
  TBackdrop* Backdrop;
  TMemoryBitmap Bitmap;
  TPaintedBackdrop(TDirection Direction, int Width, int Height) : Bitmap(Width, Height) {
    Host->SetBounds(0, 0, Width, Height);
    Backdrop = new TBackdrop(Host.get());
    Backdrop->SetParent(Host.get());
    Backdrop->SetDirection(Direction);
    Backdrop->SetStartColor(clWhite);
    Backdrop->SetEndColor(static_cast<TColor>(MakeRgb(0, 0, 0x80)));
    Backdrop->PaintTo(Bitmap.DC());
  }
  COLORREF At(int X, int Y) const { return Bitmap.Pixel(X, Y); }
};

TEST(Backdrop, EveryDirectionPutsItsColoursAtTheRightEdges) {
  const COLORREF start = 0xFFFFFF, end = MakeRgb(0, 0, 0x80);
  struct TCase {
    TDirection Direction;
    // Pixels (as fractions of 0 .. 511) of the colour at the first edge, the middle and the far edge.
    COLORREF First, Middle, Last;
    bool Across;
  };
  const TCase cases[] = {{bdUp, start, 0, end, false},         {bdDown, end, 0, start, false},
                         {bdLeft, start, 0, end, true},        {bdRight, end, 0, start, true},
                         {bdHorzIn, start, end, start, false}, {bdHorzOut, end, start, end, false},
                         {bdVertIn, start, end, start, true},  {bdVertOut, end, start, end, true}};
  for (const TCase& c : cases) {
    TPaintedBackdrop painted(c.Direction, 512, 512);
    auto at = [&](int Along) { return c.Across ? painted.At(Along, 100) : painted.At(100, Along); };
    SCOPED_TRACE(static_cast<int>(c.Direction));
    EXPECT_EQ(at(0), c.First);
    EXPECT_EQ(at(511), c.Last);
    if (c.Middle != 0) {
      EXPECT_EQ(at(255), c.Middle);
      EXPECT_EQ(at(256), c.Middle);
    }
    // Bands are 2 pixels wide on 512: both pixels of a band have its colour.
    EXPECT_EQ(at(2), at(3));
    EXPECT_NE(at(1), at(2));
  }
}

TEST(Backdrop, SmallPanelsAndResizesPaintEveryPixel) {
  TPaintedBackdrop painted(bdUp, 40, 100);
  // Position 0 covers no pixel of 100 either: the first one holds position 1's colour.
  EXPECT_EQ(painted.At(0, 0), GradientBands(0xFFFFFF, MakeRgb(0, 0, 0x80), 100, false).front().Color);
  // Position 255 covers no pixel of 100: the last one holds position 254's colour.
  EXPECT_EQ(painted.At(39, 99), GradientBands(0xFFFFFF, MakeRgb(0, 0, 0x80), 100, false).back().Color);
  EXPECT_NE(painted.At(39, 99), MakeRgb(0, 0, 0x80));
  painted.Host->SetBounds(0, 0, 40, 300);
  painted.Host->Realign();
  painted.Bitmap.SetSize(40, 300);
  painted.Backdrop->PaintTo(painted.Bitmap.DC());
  EXPECT_EQ(painted.At(20, 299), MakeRgb(0, 0, 0x80));
}

}  // namespace
}  // namespace setup
