#include "OxLabel.h"

#include <shellapi.h>

#include "LabelHooks.h"
#include "core/ClassDef.h"

namespace setup {

using namespace fw;

namespace {
const TEnumInfo kOptionInfo{"ToxlOption", {"oxlURL", "oxlHotText"}};
const TEnumInfo kGradientDirectionInfo{"ToxlDirection", {"oxlHorizontal", "oxlVertical"}};
const TEnumInfo kStyleInfo{
    "ToxLabelAttributesStyle",
    {"oxlSolid", "oxlPictureClip", "oxlPictureStretch", "oxlPicturePattern", "oxlGradient", "oxlVertGradient"}};
const TEnumInfo kLayoutInfo{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
const TEnumInfo kAlignmentInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};

// A picture's transparent colour: its bottom-left pixel.
COLORREF TransparentColorOf(const TMemoryBitmap& Picture) {
  return Picture.Pixel(0, Picture.Height() - 1);
}
}  // namespace

// --- ToxLabelAttributes -----------------------------------------------------

const TClass& ToxLabelAttributes::StaticClass() {
  using T = ToxLabelAttributes;
  static const TClass cls = TClassDef<T>()
                                .Enum("Style", kStyleInfo, &T::Style, &T::SetStyle)
                                .Object("Picture", &T::Picture)
                                .Integer("Gradient", &T::Gradient, &T::SetGradient, IdentToColor);
  return cls;
}

ToxLabelAttributes::ToxLabelAttributes(ToxCustomLabel* Label) : FLabel(Label), FPicture(std::make_unique<TPicture>()) {
  FPicture->OnChange = TNotifyEvent(this, &ToxLabelAttributes::PictureChanged);
}

ToxLabelAttributes::~ToxLabelAttributes() {
  FPicture->OnChange = nullptr;
}

void ToxLabelAttributes::SetStyle(ToxLabelAttributesStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
  FGradient.ResetTable();
}

void ToxLabelAttributes::SetPicture(const TPicture* Value) {
  FPicture->Assign(Value);
  Changed();
}

void ToxLabelAttributes::SetGradient(TColor Value) {
  if (FGradient.EndColor() == Value) return;
  FGradient.SetEndColor(Value);
  Changed();
}

void ToxLabelAttributes::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const ToxLabelAttributes*>(Source)) {
    SetStyle(other->FStyle);
    SetPicture(other->FPicture.get());
    SetGradient(other->Gradient());
    return;
  }
  TPersistent::Assign(Source);
}

void ToxLabelAttributes::Changed() {
  FPictureBitmap.reset();
  FStretchedBitmap.reset();
  if (OnChange) OnChange(this);
}

namespace {

void DrawGraphic(TGraphic* Graphic, HDC DC, int X, int Y, int Width, int Height) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic)) {
    TMemoryDCOwner source = MakeMemoryDC();
    TSelectObject select(source.Get(), bitmap->Handle());
    SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, X, Y, Width, Height, source.Get(), 0, 0, bitmap->Width(), bitmap->Height(), SRCCOPY);
  } else if (auto* icon = dynamic_cast<TIcon*>(Graphic)) {
    DrawIconEx(DC, X, Y, icon->Handle(), Width, Height, 0, nullptr, DI_NORMAL);
  }
}

}  // namespace

TMemoryBitmap* ToxLabelAttributes::PictureBitmap() {
  if (FPicture->Empty()) return nullptr;
  if (!FPictureBitmap) {
    auto bitmap = std::make_unique<TMemoryBitmap>(FPicture->Width(), FPicture->Height());
    {
      TGdiCanvas canvas(bitmap->DC());
      canvas.FillRect(RECT{0, 0, bitmap->Width(), bitmap->Height()}, FLabel->Color());
    }
    DrawGraphic(FPicture->Graphic(), bitmap->DC(), 0, 0, FPicture->Width(), FPicture->Height());
    FPictureBitmap = std::move(bitmap);
  }
  return FPictureBitmap.get();
}

TMemoryBitmap* ToxLabelAttributes::StretchedBitmap() {
  TMemoryBitmap* picture = PictureBitmap();
  if (picture == nullptr) return nullptr;
  if (!FStretchedBitmap) {
    auto bitmap = std::make_unique<TMemoryBitmap>(FLabel->Width(), FLabel->Height());
    SetStretchBltMode(bitmap->DC(), COLORONCOLOR);
    StretchBlt(bitmap->DC(), 0, 0, bitmap->Width(), bitmap->Height(), picture->DC(), 0, 0, picture->Width(),
               picture->Height(), SRCCOPY);
    FStretchedBitmap = std::move(bitmap);
  }
  return FStretchedBitmap.get();
}

// --- ToxGradientText --------------------------------------------------------

const TClass& ToxGradientText::StaticClass() {
  using T = ToxGradientText;
  static const TClass cls = TClassDef<T>()
                                .Integer("TextColor", &T::TextColor, &T::SetTextColor, IdentToColor)
                                .Integer("Color", &T::Color, &T::SetColor, IdentToColor)
                                .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
                                .Enum("Direction", kGradientDirectionInfo, &T::Direction, &T::SetDirection);
  return cls;
}

void ToxGradientText::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const ToxGradientText*>(Source)) {
    SetColor(other->Color());
    SetTextColor(other->TextColor());
    SetEnabled(other->Enabled());
    SetDirection(other->Direction());
    return;
  }
  TPersistent::Assign(Source);
}

// --- ToxCustomLabel ---------------------------------------------------------

const TClass& ToxCustomLabel::StaticClass() {
  using T = ToxCustomLabel;
  static const TClass cls = TClassDef<T>()
                                .Component("FocusControl", &T::FocusControl, &T::SetFocusControl)
                                .Boolean("Vertical", &T::Vertical, &T::SetVertical)
                                .Enum("Font3D", k3DEffectInfo, &T::Font3D, &T::SetFont3D)
                                .Set("Options", kOptionInfo, &T::Options, &T::SetOptions)
                                .String("URL", &T::URL, &T::SetURL)
                                .Object("Lines", [](const T* t) { return &t->FLines; }, &T::SetLines)
                                .Boolean("AutoMove", &T::AutoMove, &T::SetAutoMove)
                                .Enum("HotFont3D", k3DEffectInfo, &T::HotFont3D, &T::SetHotFont3D)
                                .Integer("HotTextColor", &T::HotTextColor, &T::SetHotTextColor, IdentToColor)
                                .Integer("Radius", &T::Radius, &T::SetRadius)
                                .Integer("TextAngle", &T::TextAngle, &T::SetTextAngle)
                                .Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize)
                                .Enum("LayoutHorizontal", kAlignmentInfo, &T::LayoutHorizontal, &T::SetLayoutHorizontal)
                                .Enum("Layout", kLayoutInfo, &T::Layout, &T::SetLayout)
                                .Enum("Alignment", kAlignmentInfo, &T::Alignment, &T::SetAlignment)
                                .Boolean("FullCircle", &T::FullCircle, &T::SetFullCircle)
                                .Boolean("ShowAccelChar", &T::ShowAccelChar, &T::SetShowAccelChar)
                                .Object("Background", [](const T* t) { return &t->FBackground; })
                                .Object("TextStyle", [](const T* t) { return &t->FTextStyle; })
                                .Object("HotTextStyle", [](const T* t) { return &t->FHotTextStyle; })
                                .Object("Gradient", [](const T* t) { return &t->FGradient; })
                                .Object("HotGradient", [](const T* t) { return &t->FHotGradient; })
                                .Event("OnMouseEnter", &T::OnMouseEnter)
                                .Event("OnMouseLeave", &T::OnMouseLeave);
  return cls;
}

const TClass& ToxLabel::StaticClass() {
  static const TClass cls = TClassDef<ToxLabel>().Creatable();
  return cls;
}

ToxCustomLabel::ToxCustomLabel(TComponent* AOwner)
    : TLabel(AOwner),
      FLines(this),
      FBackground(this),
      FTextStyle(this),
      FHotTextStyle(this),
      FGradient(&FTextStyle, [this](TColor c) { Font().SetColor(c); }),
      FHotGradient(&FHotTextStyle, [this](TColor c) { SetHotTextColor(c); }) {
  TLabel::SetAutoSize(false);
  FTextStyle.OnChange = TNotifyEvent(this, &ToxCustomLabel::StyleNotified);
  FHotTextStyle.OnChange = TNotifyEvent(this, &ToxCustomLabel::StyleNotified);
  FTextStyle.GradientRamp().SetStartColor(Font().Color());
  FHotTextStyle.GradientRamp().SetStartColor(FHotTextColor);
}

ToxCustomLabel::~ToxCustomLabel() {
  FHook.reset();
  FTextStyle.OnChange = nullptr;
  FHotTextStyle.OnChange = nullptr;
}

void ToxCustomLabel::StyleNotified(TObject*) {
  Invalidate();
  StyleChanged();
}

void ToxCustomLabel::Loaded() {
  TLabel::Loaded();
  FLoaded = true;
  RecalcText();
  UpdateFocusControlHook();
}

void ToxCustomLabel::RecalcText() {
  AdjustSizeToText();
  StyleChanged();
  Invalidate();
}

void ToxCustomLabel::AdjustSizeToText() {
  FLineList.SetShowAccelChar(FShowAccelChar);
  TMemoryDCOwner dc = MakeMemoryDC();
  TGdiCanvas canvas(dc.Get());
  canvas.SetFont(Font());
  SIZE size = FLineList.CalcExtent(canvas);
  FTextWidth = size.cx;
  FTextHeight = size.cy;
  if (FAutoSize && !IsLoading() && Parent() != nullptr) SetBounds(Left(), Top(), FTextWidth, FTextHeight);
}

void ToxCustomLabel::TextChanged() {
  FLineList.Clear();
  for (int i = 0, n = FLines.Count(); i < n; ++i) FLineList.Add(FLines.Get(i));
  RecalcText();
}

void ToxCustomLabel::FontChanged() {
  TGraphicControl::FontChanged();
  FTextStyle.GradientRamp().SetStartColor(Font().Color());
  Invalidate();
  StyleChanged();
  RecalcText();
}

void ToxCustomLabel::SetFont3D(T3DEffect Value) {
  FFont3D = Value;
  FLineList.Effect = Value;
  StyleChanged();
  Invalidate();
}

void ToxCustomLabel::SetHotTextColor(TColor Value) {
  FHotTextColor = Value;
  FHotTextStyle.GradientRamp().SetStartColor(Value);
  Invalidate();
  StyleChanged();
}

void ToxCustomLabel::SetRadius(int Value) {
  FRadius = Value;
  FLineList.Radius = Value;
  RecalcText();
}

void ToxCustomLabel::SetVertical(bool Value) {
  FVertical = Value;
  FLineList.Vertical = Value;
  RecalcText();
}

void ToxCustomLabel::SetFullCircle(bool Value) {
  FFullCircle = Value;
  FLineList.FullCircle = Value;
  RecalcText();
}

void ToxCustomLabel::SetAlignment(TAlignment Value) {
  TLabel::SetAlignment(Value);
  FLineList.Alignment = Value;
  RecalcText();
}

void ToxCustomLabel::SetShowAccelChar(bool Value) {
  FShowAccelChar = Value;
  RecalcText();
}

void ToxCustomLabel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  RecalcText();
}

void ToxCustomLabel::SetLayoutHorizontal(TAlignment Value) {
  FLayoutHorizontal = Value;
  Invalidate();
}

void ToxCustomLabel::SetLayout(TTextLayout Value) {
  FLayout = Value;
  Invalidate();
}

void ToxCustomLabel::SetTextAngle(int Value) {
  if (Value < 0 || Value > 360) throw EPropertyError(Format("Text angle %d is outside 0 .. 360", Value));
  FTextAngle = Value;
  FLineList.Angle = Value;
  if (!IsLoading() && Value != 0) {
    // Only TrueType fonts can be turned.
    TMemoryDCOwner dc = MakeMemoryDC();
    TGdiCanvas canvas(dc.Get());
    canvas.SetFont(Font());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.Get(), &tm);
    if ((tm.tmPitchAndFamily & TMPF_TRUETYPE) == 0) Font().SetName("Arial");
  }
  RecalcText();
}

void ToxCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    FOffset = POINT{Left() - Value->Left(), Top() - Value->Top()};
  }
  UpdateFocusControlHook();
}

void ToxCustomLabel::SetAutoMove(bool Value) {
  FAutoMove = Value;
  if (FFocusControl != nullptr) FOffset = POINT{Left() - FFocusControl->Left(), Top() - FFocusControl->Top()};
  UpdateFocusControlHook();
}

void ToxCustomLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TLabel::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FFocusControl != nullptr) FOffset = POINT{Left() - FFocusControl->Left(), Top() - FFocusControl->Top()};
}

void ToxCustomLabel::BoundsChanged() {
  TLabel::BoundsChanged();
  FBackground.Changed();  // the stretched picture has the label's size
}

void ToxCustomLabel::UpdateFocusControlHook() {
  FHook.reset();
  if (!FLoaded || FFocusControl == nullptr || !FAutoMove) return;
  FHook = std::make_unique<TControlSubclass>(this, FFocusControl);
  FHook->SetActive(true);
}

void ToxCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) {
    FHook.reset();
    FFocusControl = nullptr;
  }
}

void ToxCustomLabel::MouseEnter() {
  if (FOptions.Contains(oxlHotText) && Enabled() && !FHot) {
    FHot = true;
    Repaint();
  }
  if (OnMouseEnter) OnMouseEnter(this);
}

void ToxCustomLabel::MouseLeave() {
  if (FOptions.Contains(oxlHotText) && Enabled() && FHot) {
    FHot = false;
    Repaint();
  }
  if (OnMouseLeave) OnMouseLeave(this);
}

bool ToxCustomLabel::DialogChar(char Key) {
  if (FFocusControl == nullptr || !Enabled() || !FShowAccelChar) return false;
  FLineList.Prepare();
  if (FLineList.AccelLine() < 0) return false;
  const std::string& line = FLineList.WorkLines()[static_cast<size_t>(FLineList.AccelLine())];
  char accel = line[static_cast<size_t>(FLineList.AccelColumn() - 1)];
  if (CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<unsigned char>(accel)))) !=
      CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(static_cast<unsigned char>(Key)))))
    return false;
  HWND wnd = FFocusControl->Handle();
  if (!IsWindowVisible(wnd) || !IsWindowEnabled(wnd)) return false;
  SetFocus(wnd);
  return true;
}

void ToxCustomLabel::Click() {
  if (FOptions.Contains(oxlURL) && !FURL.empty()) {
    HWND parent = Parent() != nullptr && Parent()->HandleAllocated() ? Parent()->Handle() : nullptr;
    auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(parent, "explore", FURL.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result == ERROR_FILE_NOT_FOUND) ShellExecuteA(parent, nullptr, FURL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  TLabel::Click();
}

void ToxCustomLabel::Paint(TCanvas& Canvas) {
  TGdiCanvas canvas(Canvas.Handle());
  PaintOn(canvas);
}

void ToxCustomLabel::PaintOn(TGdiCanvas& Canvas) {
  RECT rect{0, 0, Width(), Height()};
  if (!Transparent()) PaintBackground(Canvas, rect, false);
  int left = 0, top = 0;
  if (FLayoutHorizontal == taRightJustify)
    left = rect.right - FTextWidth;
  else if (FLayoutHorizontal == taCenter)
    left = (rect.right - FTextWidth) / 2;
  if (FLayout == tlCenter)
    top = (rect.bottom - FTextHeight) / 2;
  else if (FLayout == tlBottom)
    top = rect.bottom - FTextHeight;
  DrawLabelText(Canvas, RECT{left, top, left + FTextWidth, top + FTextHeight});
}

void ToxCustomLabel::DrawLines(TGdiCanvas& Canvas, const RECT& Rect, T3DEffect Effect, TColor Color) {
  Canvas.SetFont(Font());
  Canvas.SetTextColor(Color);
  Canvas.SetBrushClear(true);
  FLineList.Effect = Effect;
  FLineList.Draw(Canvas, Rect.left, Rect.top);
  FLineList.Effect = FFont3D;
}

void ToxCustomLabel::DrawLabelText(TGdiCanvas& Canvas, const RECT& Rect) {
  FLineList.SetShowAccelChar(FShowAccelChar);
  if (!Enabled()) {
    DrawLines(Canvas, Rect, ox3Disabled, Font().Color());
    return;
  }
  const bool hot = FHot && FOptions.Contains(oxlHotText);
  ToxLabelAttributes& style = hot ? FHotTextStyle : FTextStyle;
  const T3DEffect effect = hot ? FHotFont3D : FFont3D;
  const TColor color = hot ? FHotTextColor : Font().Color();
  if (style.Style() == oxlSolid) {
    DrawLines(Canvas, Rect, effect, color);
    return;
  }
  auto bitmap = StyledTextBitmap(style, effect, color, Rect);
  if (Transparent())
    Canvas.DrawTransparent(Rect.left, Rect.top, *bitmap, ColorToRGB(Color()));
  else
    Canvas.CopyFrom(Rect.left, Rect.top, bitmap->Width(), bitmap->Height(), bitmap->DC(), 0, 0);
}

std::unique_ptr<TMemoryBitmap> ToxCustomLabel::StyledTextBitmap(ToxLabelAttributes& Style, T3DEffect Effect,
                                                                TColor TextColor, const RECT& Rect) {
  const int w = std::max<int>(1, Rect.right - Rect.left), h = std::max<int>(1, Rect.bottom - Rect.top);
  const RECT all{0, 0, w, h};
  // The fill the letters show.
  TMemoryBitmap fill(w, h);
  {
    TGdiCanvas canvas(fill.DC());
    canvas.FillRect(all, TextColor);
    TMemoryBitmap* picture = Style.PictureBitmap();
    switch (Style.Style()) {
      case oxlPictureClip:
        if (picture != nullptr)
          canvas.CopyFrom((w - picture->Width()) / 2, (h - picture->Height()) / 2, picture->Width(), picture->Height(),
                          picture->DC(), 0, 0);
        break;
      case oxlPictureStretch:
        if (picture != nullptr) {
          // Stretched pixel by pixel, so the transparent colour stays exact.
          TMemoryBitmap stretched(w, h);
          SetStretchBltMode(stretched.DC(), COLORONCOLOR);
          StretchBlt(stretched.DC(), 0, 0, w, h, picture->DC(), 0, 0, picture->Width(), picture->Height(), SRCCOPY);
          canvas.DrawTransparent(0, 0, stretched, TransparentColorOf(*picture));
        }
        break;
      case oxlPicturePattern:
        if (picture != nullptr)
          for (int y = 0; y < h; y += picture->Height())
            for (int x = 0; x < w; x += picture->Width())
              canvas.DrawTransparent(x, y, *picture, TransparentColorOf(*picture));
        break;
      case oxlGradient:
        Style.GradientRamp().FillHorizontalBands(canvas, all, all);
        break;
      case oxlVertGradient:
        Style.GradientRamp().FillVerticalBands(canvas, all);
        break;
      case oxlSolid:
        break;
    }
  }
  // Black letters on white: where the fill shows.
  TMemoryBitmap mask(w, h);
  {
    TGdiCanvas canvas(mask.DC());
    canvas.FillRect(all, clWhite);
    DrawLines(canvas, all, ox3Normal, clBlack);
  }
  auto result = std::make_unique<TMemoryBitmap>(w, h);
  {
    TGdiCanvas canvas(result->DC());
    canvas.FillRect(all, Color());
    DrawLines(canvas, all, Effect, TextColor);
    ::SetTextColor(result->DC(), RGB(0, 0, 0));
    SetBkColor(result->DC(), RGB(255, 255, 255));
    canvas.CopyFrom(0, 0, w, h, fill.DC(), 0, 0, SRCINVERT);
    canvas.CopyFrom(0, 0, w, h, mask.DC(), 0, 0, SRCAND);
    canvas.CopyFrom(0, 0, w, h, fill.DC(), 0, 0, SRCINVERT);
  }
  return result;
}

void ToxCustomLabel::PaintBackground(TGdiCanvas& Canvas, const RECT& Rect, bool) {
  Canvas.SetBrushColor(Color());
  TMemoryBitmap* picture = FBackground.PictureBitmap();
  const int w = Width(), h = Height();
  switch (FBackground.Style()) {
    case oxlSolid:
      Canvas.FillRect(Rect);
      break;
    case oxlPictureClip:
      Canvas.FillRect(Rect);
      if (picture != nullptr) {
        int saved = SaveDC(Canvas.Handle());
        Canvas.IntersectClip(Rect);
        Canvas.DrawTransparent((w - picture->Width()) / 2, (h - picture->Height()) / 2, *picture,
                               TransparentColorOf(*picture));
        RestoreDC(Canvas.Handle(), saved);
      }
      break;
    case oxlPictureStretch:
      if (TMemoryBitmap* stretched = FBackground.StretchedBitmap())
        Canvas.CopyFrom(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, stretched->DC(), Rect.left,
                        Rect.top);
      else
        Canvas.FillRect(Rect);
      break;
    case oxlPicturePattern:
      Canvas.FillRect(Rect);
      if (picture != nullptr)
        for (int y = 0; y < h; y += picture->Height())
          for (int x = 0; x < w; x += picture->Width()) {
            RECT tile{x, y, x + picture->Width(), y + picture->Height()}, visible;
            if (IntersectRect(&visible, &tile, &Rect))
              Canvas.DrawTransparent(x, y, *picture, TransparentColorOf(*picture));
          }
      break;
    case oxlGradient:
      FBackground.GradientRamp().SetStartColor(Color());
      FBackground.GradientRamp().FillHorizontalBands(Canvas, RECT{0, 0, w, h}, Rect);
      break;
    case oxlVertGradient:
      FBackground.GradientRamp().SetStartColor(Color());
      FBackground.GradientRamp().FillVerticalBands(Canvas, RECT{0, 0, w, h});
      break;
  }
}

}  // namespace setup
