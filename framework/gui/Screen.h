// The screen the program's windows are on.
#pragma once

namespace fw {

// The primary screen's size in pixels.
int ScreenWidth();
int ScreenHeight();
// The height of a window caption (SM_CYCAPTION).
int CaptionHeight();

}  // namespace fw
