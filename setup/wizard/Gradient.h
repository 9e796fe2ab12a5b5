// A stepped colour ramp (128 steps from the end colour towards the start colour) that
// fills a rectangle with bands, across or down.
#pragma once

#include <vector>

#include "gui/ColorMath.h"
#include "core/Events.h"
#include "gui/GdiCanvas.h"

namespace setup {

FW_EXCEPTION(EInvalidIndex, fw::Exception);

class TGradient : public fw::TPersistent {
  FW_CLASS(TGradient, fw::TPersistent)
 public:
  static constexpr int kSteps = 128;
  TGradient() = default;

  // 0: bands side by side (the colour changes from left to right); 1: bands one under the other.
  uint8_t Direction() const { return FDirection; }
  void SetDirection(uint8_t Value) { FDirection = Value; }
  fw::TColor StartColor() const { return FStartColor; }
  void SetStartColor(fw::TColor Value);
  fw::TColor EndColor() const { return FEndColor; }
  void SetEndColor(fw::TColor Value);
  int Steps() const { return kSteps; }

  // The colour of step Index (0: the end colour); EInvalidIndex outside the steps.
  fw::TColor GetColor(int Index);
  void Paint(fw::TGdiCanvas& Canvas, const RECT& Rect);
  void PaintHorizontal(fw::TGdiCanvas& Canvas, const RECT& Rect) { FillHorizontalBands(Canvas, Rect, Rect); }
  void PaintVertical(fw::TGdiCanvas& Canvas, const RECT& Rect) { FillVerticalBands(Canvas, Rect); }
  void FillHorizontalBands(fw::TGdiCanvas& Canvas, const RECT& Bounds, const RECT& Clip);
  void FillVerticalBands(fw::TGdiCanvas& Canvas, const RECT& Bounds);
  // Drops the table; the next use builds it from the current colours.
  void ResetTable();
  bool HasTable() const { return !FTable.empty(); }

  fw::TNotifyEvent OnChange;

 private:
  void BuildTable();
  void Changed();
  uint8_t FDirection = 0;
  fw::TColor FStartColor = fw::clBlack;
  fw::TColor FEndColor = fw::clWhite;
  std::vector<fw::TRgbValue> FTable;
};

}  // namespace setup
