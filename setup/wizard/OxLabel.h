// Title labels: a caption of several lines ("||" in the stored text) drawn with 3D
// effects, turned, in columns or on a circle; letters and background filled with a
// colour, a picture or a gradient; a hot look under the mouse, a URL to open on a
// click, and a control whose accelerator it carries and whose moves it can follow.
#pragma once

#include <memory>

#include "Gradient.h"
#include "OxStringList.h"
#include "core/Sets.h"
#include "gui/StdCtrls.h"

namespace setup {

enum class ToxlOption { oxlURL, oxlHotText };
using enum ToxlOption;
using ToxlOptions = fw::TSet<ToxlOption>;
enum class ToxlDirection { oxlHorizontal, oxlVertical };
using enum ToxlDirection;
enum class ToxLabelAttributesStyle {
  oxlSolid,
  oxlPictureClip,
  oxlPictureStretch,
  oxlPicturePattern,
  oxlGradient,
  oxlVertGradient
};
using enum ToxLabelAttributesStyle;
enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

class ToxCustomLabel;
class TControlSubclass;

// A fill: a solid colour, a picture (centred, stretched or tiled) or a gradient.
class ToxLabelAttributes : public fw::TPersistent {
  FW_CLASS(ToxLabelAttributes, fw::TPersistent)
 public:
  explicit ToxLabelAttributes(ToxCustomLabel* Label);
  ~ToxLabelAttributes() override;

  ToxLabelAttributesStyle Style() const { return FStyle; }
  void SetStyle(ToxLabelAttributesStyle Value);
  fw::TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const fw::TPicture* Value);
  // The gradient's end colour.
  fw::TColor Gradient() const { return FGradient.EndColor(); }
  void SetGradient(fw::TColor Value);
  TGradient& GradientRamp() { return FGradient; }

  void Assign(const fw::TPersistent* Source) override;
  // Drops the cached bitmaps and tells the label.
  void Changed();
  // The picture as a bitmap on the label's colour (nil without a picture).
  fw::TMemoryBitmap* PictureBitmap();
  // The picture stretched over the label's size (nil without a picture).
  fw::TMemoryBitmap* StretchedBitmap();

  fw::TNotifyEvent OnChange;

 private:
  void PictureChanged(fw::TObject*) { Changed(); }
  ToxCustomLabel* FLabel;
  ToxLabelAttributesStyle FStyle = oxlSolid;
  std::unique_ptr<fw::TPicture> FPicture;
  TGradient FGradient;
  std::unique_ptr<fw::TMemoryBitmap> FPictureBitmap, FStretchedBitmap;
};

// A view of a text style as a gradient: on or off, across or down, and its colours.
class ToxGradientText : public fw::TPersistent {
  FW_CLASS(ToxGradientText, fw::TPersistent)
 public:
  using TColorSetter = std::function<void(fw::TColor)>;
  ToxGradientText(ToxLabelAttributes* Style, TColorSetter SetTextColorOf)
      : FStyle(Style), FSetTextColor(std::move(SetTextColorOf)) {}

  fw::TColor TextColor() const { return FStyle->GradientRamp().StartColor(); }
  void SetTextColor(fw::TColor Value) { FSetTextColor(Value); }
  fw::TColor Color() const { return FStyle->Gradient(); }
  void SetColor(fw::TColor Value) { FStyle->SetGradient(Value); }
  bool Enabled() const { return FStyle->Style() == oxlGradient || FStyle->Style() == oxlVertGradient; }
  void SetEnabled(bool Value) { FStyle->SetStyle(Value ? oxlGradient : oxlSolid); }
  ToxlDirection Direction() const { return FStyle->Style() == oxlVertGradient ? oxlVertical : oxlHorizontal; }
  void SetDirection(ToxlDirection Value) { FStyle->SetStyle(Value == oxlVertical ? oxlVertGradient : oxlGradient); }
  void Assign(const fw::TPersistent* Source) override;

 private:
  ToxLabelAttributes* FStyle;
  TColorSetter FSetTextColor;
};

class ToxCustomLabel : public fw::TLabel {
  FW_CLASS(ToxCustomLabel, fw::TLabel)
 public:
  explicit ToxCustomLabel(fw::TComponent* AOwner);
  ~ToxCustomLabel() override;

  fw::TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(fw::TWinControl* Value);
  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value);
  T3DEffect Font3D() const { return FFont3D; }
  void SetFont3D(T3DEffect Value);
  ToxlOptions Options() const { return FOptions; }
  void SetOptions(ToxlOptions Value) { FOptions = Value; }
  const std::string& URL() const { return FURL; }
  void SetURL(const std::string& Value) { FURL = Value; }
  TCaptionStrings& Lines() { return FLines; }
  void SetLines(fw::TStrings* Value) { FLines.Assign(Value); }
  bool AutoMove() const { return FAutoMove; }
  void SetAutoMove(bool Value);
  T3DEffect HotFont3D() const { return FHotFont3D; }
  void SetHotFont3D(T3DEffect Value) { FHotFont3D = Value; }
  fw::TColor HotTextColor() const { return FHotTextColor; }
  void SetHotTextColor(fw::TColor Value);
  int Radius() const { return FRadius; }
  void SetRadius(int Value);
  int TextAngle() const { return FTextAngle; }
  void SetTextAngle(int Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  fw::TAlignment LayoutHorizontal() const { return FLayoutHorizontal; }
  void SetLayoutHorizontal(fw::TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool FullCircle() const { return FFullCircle; }
  void SetFullCircle(bool Value);
  void SetAlignment(fw::TAlignment Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  ToxLabelAttributes& Background() { return FBackground; }
  ToxLabelAttributes& TextStyle() { return FTextStyle; }
  ToxLabelAttributes& HotTextStyle() { return FHotTextStyle; }
  ToxGradientText& Gradient() { return FGradient; }
  ToxGradientText& HotGradient() { return FHotGradient; }
  bool Hot() const { return FHot; }
  int TextWidth() const { return FTextWidth; }
  int TextHeight() const { return FTextHeight; }
  ToxStringList& LineList() { return FLineList; }

  void Loaded() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Paint(fw::TCanvas& Canvas) override;
  // Draws the whole label on a canvas whose origin is the label's corner.
  void PaintOn(fw::TGdiCanvas& Canvas);
  virtual void DrawLabelText(fw::TGdiCanvas& Canvas, const RECT& Rect);
  virtual void PaintBackground(fw::TGdiCanvas& Canvas, const RECT& Rect, bool Offset);
  virtual void RecalcText();
  virtual void StyleChanged() {}
  void Click() override;
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
  // The mouse came over the label or left it.
  void MouseEnter() override;
  void MouseLeave() override;
  // An accelerator key: focuses FocusControl when it is the caption's; true when handled.
  bool DialogChar(char Key) override;

  fw::TNotifyEvent OnMouseEnter;
  fw::TNotifyEvent OnMouseLeave;

 protected:
  void TextChanged() override;
  void FontChanged() override;
  void BoundsChanged() override;

 private:
  friend class TControlSubclass;
  void AdjustSizeToText();
  void UpdateFocusControlHook();
  void StyleNotified(fw::TObject*);
  // The lines drawn through a mask onto a bitmap filled by Style.
  std::unique_ptr<fw::TMemoryBitmap> StyledTextBitmap(ToxLabelAttributes& Style, T3DEffect Effect, fw::TColor TextColor,
                                                      const RECT& Rect);
  void DrawLines(fw::TGdiCanvas& Canvas, const RECT& Rect, T3DEffect Effect, fw::TColor Color);

  fw::TWinControl* FFocusControl = nullptr;
  bool FVertical = false;
  T3DEffect FFont3D = ox3Normal;
  ToxlOptions FOptions;
  std::string FURL;
  bool FAutoMove = false;
  T3DEffect FHotFont3D = ox3Normal;
  fw::TColor FHotTextColor = fw::clBlack;
  int FRadius = 0;
  int FTextAngle = 0;
  bool FAutoSize = true;
  fw::TAlignment FLayoutHorizontal = fw::taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FFullCircle = true;
  bool FShowAccelChar = true;
  bool FLoaded = false;
  bool FHot = false;
  POINT FOffset{0, 0};
  int FTextWidth = 0, FTextHeight = 0;
  ToxStringList FLineList;
  TCaptionStrings FLines;
  ToxLabelAttributes FBackground, FTextStyle, FHotTextStyle;
  ToxGradientText FGradient, FHotGradient;
  std::unique_ptr<TControlSubclass> FHook;
};

class ToxLabel : public ToxCustomLabel {
  FW_CLASS(ToxLabel, ToxCustomLabel)
 public:
  using ToxCustomLabel::ToxCustomLabel;
};

}  // namespace setup
