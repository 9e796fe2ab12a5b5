#include "WizardPlacement.h"

#include "gui/ColorMath.h"
#include "DialogManager.h"

namespace setup {

TWindowPlace PlaceWindow(TQuenlarkDialogPosition Position, int LeftOffset, int TopOffset, int Width, int Height,
                         int ScreenWidth, int ScreenHeight, int CaptionHeight) {
  int ordinal = static_cast<int>(Position);
  int row = ordinal / 3, column = ordinal % 3;
  TWindowPlace place{};
  switch (row) {
    case 0:
      place.Top = static_cast<int>(fw::DivRoundHalfEven(int64_t{ScreenHeight} - Height, 2)) + TopOffset;
      break;
    case 1:
      place.Top = ScreenHeight - CaptionHeight - Height - TopOffset;
      break;
    default:
      place.Top = TopOffset;
      break;
  }
  switch (column) {
    case 0:
      place.Left = LeftOffset;
      break;
    case 1:
      place.Left = static_cast<int>(fw::DivRoundHalfEven(int64_t{ScreenWidth} - Width, 2)) + LeftOffset;
      break;
    default:
      place.Left = ScreenWidth - Width - LeftOffset;
      break;
  }
  return place;
}

}  // namespace setup
