// Colour helpers on the framework's colours (system colours resolved where needed), and
// the display probe that makes blending coarser on palette displays.
#pragma once

#include "Graphics.h"

namespace fw {

// Set by InitColorUtils (the wizard library's start-up, before any of its forms exists);
// the tool page sets HighColor by its own rule when its form is created.
extern bool HighColor;       // more than 8 bits per pixel
extern bool TrueColor;       // more than 16 bits per pixel
extern bool InvertedScheme;  // the button colours are light text on a dark face

// Reads the screen's colour depth and the button colours into the flags above.
void InitColorUtils();
// The screen's bits per pixel (all colour planes together).
int ScreenColorDepth();

// Color1 moved Percent per cent towards Color2. Percent 0 gives Color1 and 100 or more
// Color2 as they are (system colours stay system colours).
fw::TColor BlendColors(fw::TColor Color1, fw::TColor Color2, int Percent);
fw::TColor LightenColor(fw::TColor Color, int Percent);
fw::TColor DarkenColor(fw::TColor Color, int Percent);
fw::TColor ColorToGray(fw::TColor Color);
bool IsLightColor(fw::TColor Color);

}  // namespace fw
