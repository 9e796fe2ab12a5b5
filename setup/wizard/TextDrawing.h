// Drawing text with a three-dimensional look, shortening it with "...", and turned fonts.
#pragma once

#include <string>
#include <vector>

#include "gui/GdiCanvas.h"

namespace setup {

enum class T3DEffect {
  ox3Normal,
  ox3Flat,
  ox3Raised,
  ox3Inset,
  ox3Ridged,
  ox3Grooved,
  ox3Shadow,
  ox3None,
  ox3Disabled
};
using enum T3DEffect;
extern const fw::TEnumInfo k3DEffectInfo;

// Text when it fits MaxWidth pixels in the canvas's font (or MaxWidth <= 0); else its
// head with "..." appended.
std::string EllipsisText(const fw::TGdiCanvas& Canvas, const std::string& Text, int MaxWidth);

// DrawTextA of Text (shortened to MaxWidth) with the effect's extra copies one or two
// pixels off: highlight and shadow in the button colours, the text itself in the DC's
// current text colour, which is kept.
void DrawText3D(fw::TGdiCanvas& Canvas, const RECT& Rect, const std::string& Text, int MaxWidth, UINT Format,
                T3DEffect Effect);

// A TrueType font like Font turned by Angle degrees (anticlockwise).
fw::TFontOwner CreateRotatedFont(HFONT Font, int Angle);
fw::TFontOwner CreateRotatedFont(const LOGFONTA& Font, int Angle);

// Rect grown to hold every point (an empty Rect first becomes the first point).
void ExtendRectToPoints(RECT& Rect, const std::vector<POINT>& Points);

}  // namespace setup
