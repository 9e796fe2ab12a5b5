#include "Gradient.h"

#include "core/ClassDef.h"

namespace setup {

using namespace fw;

const TClass& TGradient::StaticClass() {
  static const TClass cls = TClassDef<TGradient>();
  return cls;
}

void TGradient::SetStartColor(TColor Value) {
  if (FStartColor == Value) return;
  FStartColor = Value;
  ResetTable();
}

void TGradient::SetEndColor(TColor Value) {
  if (FEndColor == Value) return;
  FEndColor = Value;
  ResetTable();
}

void TGradient::ResetTable() {
  FTable.clear();
  Changed();
}

void TGradient::Changed() {
  if (OnChange) OnChange(this);
}

void TGradient::BuildTable() {
  if (FTable.empty()) FTable = SteppedGradientTable(ColorToRGB(FStartColor), ColorToRGB(FEndColor), kSteps);
}

TColor TGradient::GetColor(int Index) {
  BuildTable();
  if (Index < 0 || Index >= kSteps) throw EInvalidIndex("Index out of range");
  return static_cast<TColor>(FTable[static_cast<size_t>(Index)]);
}

void TGradient::Paint(TGdiCanvas& Canvas, const RECT& Rect) {
  if (FDirection == 0)
    PaintHorizontal(Canvas, Rect);
  else
    PaintVertical(Canvas, Rect);
}

void TGradient::FillHorizontalBands(TGdiCanvas& Canvas, const RECT& Bounds, const RECT& Clip) {
  BuildTable();
  for (int i = 0; i < kSteps; ++i) {
    TSpan band = SteppedBand(Bounds.left, Bounds.right - Bounds.left, kSteps, i);
    RECT r{band.From, Bounds.top, band.To, Bounds.bottom}, visible;
    if (IntersectRect(&visible, &r, &Clip)) Canvas.FillRect(visible, GetColor(i));
  }
}

void TGradient::FillVerticalBands(TGdiCanvas& Canvas, const RECT& Bounds) {
  BuildTable();
  for (int i = 0; i < kSteps; ++i) {
    TSpan band = SteppedBand(Bounds.top, Bounds.bottom - Bounds.top, kSteps, i);
    Canvas.FillRect(RECT{Bounds.left, band.From, Bounds.right, band.To}, GetColor(i));
  }
}

}  // namespace setup
