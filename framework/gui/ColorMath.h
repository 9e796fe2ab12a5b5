// Colour arithmetic on RGB values (0x00BBGGRR), without Windows: blending, grey values,
// the bands of a two-colour gradient and the colour table of a stepped gradient.
#pragma once

#include <cstdint>
#include <vector>

namespace fw {

using TRgbValue = uint32_t;  // 0x00BBGGRR, as GDI's COLORREF

constexpr TRgbValue MakeRgb(int R, int G, int B) {
  return static_cast<TRgbValue>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}
constexpr int RedOf(TRgbValue C) {
  return static_cast<int>(C & 0xFF);
}
constexpr int GreenOf(TRgbValue C) {
  return static_cast<int>((C >> 8) & 0xFF);
}
constexpr int BlueOf(TRgbValue C) {
  return static_cast<int>((C >> 16) & 0xFF);
}

// Numerator / Denominator rounded to the nearest integer, halves to the even one.
int64_t DivRoundHalfEven(int64_t Numerator, int64_t Denominator);
// A x B / C rounded to the nearest integer, halves away from zero (as Windows' MulDiv);
// -1 when C is 0.
int MulDivRound(int A, int B, int C);

// The percentage that blending uses: on palette displays (not HighColor) percentages
// below 50 give the first colour, 50 to 99 a coarse half step and 100 or more the second.
int EffectivePercent(int Percent, bool HighColor);
// Each channel C1 + Percent x (C2 - C1) / 100, halves to even; Percent in 0 .. 100.
TRgbValue BlendRgb(TRgbValue Color1, TRgbValue Color2, int Percent);
// The grey of 20 % red, 50 % green and 30 % blue.
TRgbValue GrayOfRgb(TRgbValue Color);
// Light when fewer than two channels of its grey are below 96.
bool IsLightRgb(TRgbValue Color);

// One band of a backdrop: the pixels From .. To - 1 along the gradient's extent.
struct TGradientBand {
  int From;
  int To;
  TRgbValue Color;
};
// The 256 band positions over Extent pixels from First to Second (symmetric: First at
// both edges, Second in the middle); bands that cover no pixel are left out.
std::vector<TGradientBand> GradientBands(TRgbValue First, TRgbValue Second, int Extent, bool Symmetric);

// The colour table of a stepped gradient: step 0 is End, each further step moves
// towards Start by (End - Start) / Steps, rounded halves to even.
std::vector<TRgbValue> SteppedGradientTable(TRgbValue Start, TRgbValue End, int Steps);

// A band of a stepped gradient over Length pixels from Origin: starts at
// Origin + Round(Length / Steps x Index) and is Round(Length / Steps + 1) wide.
struct TSpan {
  int From;
  int To;
};
TSpan SteppedBand(int Origin, int Length, int Steps, int Index);

}  // namespace fw
