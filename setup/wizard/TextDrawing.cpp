#include "TextDrawing.h"

#include "TextLayout.h"

namespace setup {

using namespace fw;

const TEnumInfo k3DEffectInfo{"T3DEffect",
                              {"ox3Normal", "ox3Flat", "ox3Raised", "ox3Inset", "ox3Ridged", "ox3Grooved", "ox3Shadow",
                               "ox3None", "ox3Disabled"}};

std::string EllipsisText(const TGdiCanvas& Canvas, const std::string& Text, int MaxWidth) {
  return FitWithEllipsis(Text, MaxWidth, [&Canvas](const std::string& s) { return Canvas.TextWidth(s); });
}

namespace {

void DrawCopy(TGdiCanvas& Canvas, const RECT& Rect, const std::string& Text, UINT Format, int Offset, COLORREF Color) {
  ::SetTextColor(Canvas.Handle(), Color);
  RECT r = Rect;
  OffsetRect(&r, Offset, Offset);
  DrawTextA(Canvas.Handle(), Text.data(), static_cast<int>(Text.size()), &r, Format);
}

}  // namespace

void DrawText3D(TGdiCanvas& Canvas, const RECT& Rect, const std::string& Text, int MaxWidth, UINT Format,
                T3DEffect Effect) {
  const std::string text = EllipsisText(Canvas, Text, MaxWidth);
  const COLORREF color = GetTextColor(Canvas.Handle());
  const COLORREF highlight = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
  switch (Effect) {
    case ox3Normal:
      DrawCopy(Canvas, Rect, text, Format, 0, color);
      break;
    case ox3Flat:
      DrawCopy(Canvas, Rect, text, Format, 0, shadow);
      break;
    case ox3Raised:
      if (color == highlight)
        DrawCopy(Canvas, Rect, text, Format, 1, shadow);
      else
        DrawCopy(Canvas, Rect, text, Format, -1, highlight);
      DrawCopy(Canvas, Rect, text, Format, 0, color);
      break;
    case ox3Inset:
      if (color == highlight)
        DrawCopy(Canvas, Rect, text, Format, -1, shadow);
      else
        DrawCopy(Canvas, Rect, text, Format, 1, highlight);
      DrawCopy(Canvas, Rect, text, Format, 0, color);
      break;
    case ox3Ridged:
      DrawCopy(Canvas, Rect, text, Format, 1, shadow);
      DrawCopy(Canvas, Rect, text, Format, -1, highlight);
      DrawCopy(Canvas, Rect, text, Format, 0, color);
      break;
    case ox3Grooved:
      DrawCopy(Canvas, Rect, text, Format, 1, highlight);
      DrawCopy(Canvas, Rect, text, Format, -1, shadow);
      DrawCopy(Canvas, Rect, text, Format, 0, color);
      break;
    case ox3Shadow:
      DrawCopy(Canvas, Rect, text, Format, 2, shadow);
      DrawCopy(Canvas, Rect, text, Format, 0, color);
      break;
    case ox3None:
      break;
    case ox3Disabled:
      DrawCopy(Canvas, Rect, text, Format, 1, highlight);
      DrawCopy(Canvas, Rect, text, Format, 0, shadow);
      break;
  }
  ::SetTextColor(Canvas.Handle(), color);
}

TFontOwner CreateRotatedFont(const LOGFONTA& Font, int Angle) {
  LOGFONTA lf = Font;
  lf.lfEscapement = Angle * 10;
  lf.lfOrientation = Angle * 10;
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = static_cast<BYTE>((lf.lfPitchAndFamily & 0x0F) | FF_SWISS);
  return MakeFont(lf);
}

TFontOwner CreateRotatedFont(HFONT Font, int Angle) {
  LOGFONTA lf{};
  GetObjectA(Font, sizeof lf, &lf);
  return CreateRotatedFont(lf, Angle);
}

void ExtendRectToPoints(RECT& Rect, const std::vector<POINT>& Points) {
  TIntRect r{Rect.left, Rect.top, Rect.right, Rect.bottom};
  std::vector<TIntPoint> points;
  points.reserve(Points.size());
  for (const POINT& p : Points) points.push_back({p.x, p.y});
  ExtendRectToPoints(r, points);
  Rect = RECT{r.Left, r.Top, r.Right, r.Bottom};
}

}  // namespace setup
