// Where a window goes on the screen for a dialog position and offsets.
#pragma once

namespace setup {

enum class TQuenlarkDialogPosition;

struct TWindowPlace {
  int Left;
  int Top;
};

// Rows: centre round(SH / 2 - H / 2) + TopOffset, bottom SH - CaptionHeight - H -
// TopOffset, top TopOffset. Columns: left LeftOffset, centre round(SW / 2 - W / 2) +
// LeftOffset, right SW - W - LeftOffset. Halves round to even.
TWindowPlace PlaceWindow(TQuenlarkDialogPosition Position, int LeftOffset, int TopOffset, int Width, int Height,
                         int ScreenWidth, int ScreenHeight, int CaptionHeight);

}  // namespace setup
