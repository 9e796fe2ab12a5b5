#include "ColorMath.h"

#include <cmath>
#include <cstdlib>

namespace fw {

int64_t DivRoundHalfEven(int64_t Numerator, int64_t Denominator) {
  if (Denominator < 0) {
    Numerator = -Numerator;
    Denominator = -Denominator;
  }
  int64_t quotient = Numerator / Denominator;
  int64_t remainder = Numerator % Denominator;
  if (remainder < 0) {  // floor division
    quotient -= 1;
    remainder += Denominator;
  }
  int64_t twice = 2 * remainder;
  if (twice > Denominator || (twice == Denominator && (quotient & 1) != 0)) quotient += 1;
  return quotient;
}

int MulDivRound(int A, int B, int C) {
  if (C == 0) return -1;
  int64_t product = static_cast<int64_t>(A) * B;
  bool negative = (product < 0) != (C < 0);
  int64_t magnitude =
      (std::llabs(product) + std::llabs(static_cast<int64_t>(C)) / 2) / std::llabs(static_cast<int64_t>(C));
  return static_cast<int>(negative ? -magnitude : magnitude);
}

int EffectivePercent(int Percent, bool HighColor) {
  if (HighColor) return Percent;
  if (Percent < 50) return 0;
  if (Percent < 100) return 50;
  return Percent;
}

TRgbValue BlendRgb(TRgbValue Color1, TRgbValue Color2, int Percent) {
  auto channel = [Percent](int c1, int c2) {
    return static_cast<int>(c1 + DivRoundHalfEven(static_cast<int64_t>(Percent) * (c2 - c1), 100));
  };
  return MakeRgb(channel(RedOf(Color1), RedOf(Color2)), channel(GreenOf(Color1), GreenOf(Color2)),
                 channel(BlueOf(Color1), BlueOf(Color2)));
}

TRgbValue GrayOfRgb(TRgbValue Color) {
  int v = static_cast<int>(DivRoundHalfEven(RedOf(Color) * 20 + GreenOf(Color) * 50 + BlueOf(Color) * 30, 100));
  return MakeRgb(v, v, v);
}

bool IsLightRgb(TRgbValue Color) {
  TRgbValue gray = GrayOfRgb(Color);
  int dark = (RedOf(gray) < 96) + (GreenOf(gray) < 96) + (BlueOf(gray) < 96);
  return dark < 2;
}

std::vector<TGradientBand> GradientBands(TRgbValue First, TRgbValue Second, int Extent, bool Symmetric) {
  std::vector<TGradientBand> bands;
  if (Extent <= 0) return bands;
  const int n = Symmetric ? 127 : 255;
  const int dr = RedOf(Second) - RedOf(First), dg = GreenOf(Second) - GreenOf(First),
            db = BlueOf(Second) - BlueOf(First);
  bands.reserve(256);
  auto add = [&](int position, TRgbValue color) {
    int from = MulDivRound(position, Extent, 256), to = MulDivRound(position + 1, Extent, 256);
    if (to > from) bands.push_back({from, to, color});
  };
  for (int i = 0; i <= n; ++i) {
    TRgbValue color = MakeRgb(RedOf(First) + MulDivRound(i, dr, n), GreenOf(First) + MulDivRound(i, dg, n),
                              BlueOf(First) + MulDivRound(i, db, n));
    add(i, color);
    if (Symmetric) add(255 - i, color);
  }
  return bands;
}

std::vector<TRgbValue> SteppedGradientTable(TRgbValue Start, TRgbValue End, int Steps) {
  std::vector<TRgbValue> table;
  if (Steps <= 0) return table;
  table.reserve(static_cast<size_t>(Steps));
  auto channel = [Steps](int start, int end, int i) {
    return static_cast<int>(end - DivRoundHalfEven(static_cast<int64_t>(end - start) * i, Steps));
  };
  for (int i = 0; i < Steps; ++i)
    table.push_back(MakeRgb(channel(RedOf(Start), RedOf(End), i), channel(GreenOf(Start), GreenOf(End), i),
                            channel(BlueOf(Start), BlueOf(End), i)));
  return table;
}

TSpan SteppedBand(int Origin, int Length, int Steps, int Index) {
  double w = static_cast<double>(Length) / Steps;
  int from = Origin + static_cast<int>(std::nearbyint(w * Index));
  return {from, from + static_cast<int>(std::nearbyint(w + 1))};
}

}  // namespace fw
