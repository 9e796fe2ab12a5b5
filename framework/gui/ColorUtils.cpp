#include "ColorUtils.h"

#include "ColorMath.h"
#include "WinHandles.h"

namespace fw {

bool HighColor = true;
bool TrueColor = true;
bool InvertedScheme = false;

int ScreenColorDepth() {
  TWindowDC screen(nullptr);
  return GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
}

void InitColorUtils() {
  const int depth = ScreenColorDepth();
  HighColor = depth > 8;
  TrueColor = depth > 16;
  InvertedScheme = (IsLightColor(clBtnText) && !IsLightColor(clBtnFace)) ||
                   (IsLightColor(DarkenColor(clBtnFace, 60)) && !IsLightColor(clBtnText));
}

TColor BlendColors(TColor Color1, TColor Color2, int Percent) {
  Percent = EffectivePercent(Percent, HighColor);
  if (Percent >= 100) return Color2;
  if (Percent <= 0) return Color1;
  return static_cast<TColor>(BlendRgb(ColorToRGB(Color1), ColorToRGB(Color2), Percent));
}

TColor LightenColor(TColor Color, int Percent) {
  return BlendColors(Color, clWhite, Percent);
}

TColor DarkenColor(TColor Color, int Percent) {
  return BlendColors(Color, clBlack, Percent);
}

TColor ColorToGray(TColor Color) {
  return static_cast<TColor>(GrayOfRgb(ColorToRGB(Color)));
}

bool IsLightColor(TColor Color) {
  return IsLightRgb(ColorToRGB(Color));
}

}  // namespace fw
