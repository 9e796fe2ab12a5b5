// The screen the program's windows are on.
#pragma once

#include <cstdint>

namespace fw {

// The primary screen's size in pixels.
int ScreenWidth();
int ScreenHeight();
// The height of a window caption (SM_CYCAPTION).
int CaptionHeight();

// The cursor every window of the program shows whatever the mouse is over, until it is
// crDefault again (then each window shows its own).
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crHourGlass = -11;
TCursor ScreenCursor();
// Shows the cursor at once; the windows keep it on every mouse move (WM_SETCURSOR).
void SetScreenCursor(TCursor Value);
// What a window answers to WM_SETCURSOR: true when the screen cursor was set.
bool ApplyScreenCursor();

}  // namespace fw
