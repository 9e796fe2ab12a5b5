#include "ExToolBar.h"

#include <algorithm>

#include "gui/ColorUtils.h"
#include "PageControls.h"
#include "core/ClassDef.h"

namespace toolpage {

using namespace fw;

namespace {
const TEnumInfo kShadingInfo{"TExToolBarShading", {"shNone", "shLeft", "shRight", "shDown", "shUp"}};

bool Vertical(TExToolBarShading Shading) {
  return Shading == shDown || Shading == shUp;
}
}  // namespace

TToolBarColors ToolBarColors(TExToolBarShading Shading, TColor Face, TColor Highlight, TColor Shadow) {
  bool vertical = Vertical(Shading);
  return {fw::BlendColors(Face, Highlight, vertical ? 35 : 50),
          fw::BlendColors(Face, Shadow, vertical ? 30 : 25)};
}

int GradientSteps(TExToolBarShading Shading, int Width, int Height) {
  if (Shading == shNone) return 0;
  int extent = Vertical(Shading) ? Height : Width;
  return std::clamp(extent, 0, 255);
}

TColor GradientColor(TColor From, TColor To, int Index, int Steps) {
  if (Steps <= 1) return static_cast<TColor>(ColorToRGB(From));
  return fw::BlendColors(static_cast<TColor>(ColorToRGB(From)), static_cast<TColor>(ColorToRGB(To)),
                            Index * 100 / (Steps - 1));
}

const TClass& TExToolBar::StaticClass() {
  using T = TExToolBar;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Enum("Shading", kShadingInfo, &T::Shading, &T::SetShading)
                                .Component("Images", &T::Images, &T::SetImages);
  return cls;
}

TExToolBar::TExToolBar(TComponent* AOwner) : TWinControl(AOwner) {
  FHeight = 29;
  FAlign = alTop;
  UpdateColors();
}

void TExToolBar::SetShading(TExToolBarShading Value) {
  if (FShading == Value) return;
  FShading = Value;
  UpdateColors();
  Invalidate();
}

void TExToolBar::UpdateColors() {
  TToolBarColors colors = ToolBarColors(FShading, clBtnFace, clBtnHighlight, clBtnShadow);
  FLight = colors.Light;
  FDark = colors.Dark;
}

int TExToolBar::CustomDraw(HDC DC, const RECT& Rect) {
  int width = Rect.right - Rect.left, height = Rect.bottom - Rect.top;
  int steps = GradientSteps(FShading, width, height);
  if (steps == 0 || !fw::HighColor) return 0;
  bool vertical = Vertical(FShading);
  TColor from = (FShading == shLeft || FShading == shUp) ? FDark : FLight;
  TColor to = (FShading == shLeft || FShading == shUp) ? FLight : FDark;
  int extent = vertical ? height : width;
  for (int i = 0; i < steps; ++i) {
    RECT band = Rect;
    int start = extent * i / steps, end = extent * (i + 1) / steps;
    if (vertical) {
      band.top = Rect.top + start;
      band.bottom = Rect.top + end;
    } else {
      band.left = Rect.left + start;
      band.right = Rect.left + end;
    }
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(GradientColor(from, to, i, steps))));
    FillRect(DC, &band, brush.Get());
  }
  return steps;
}

void TExToolBar::SetImages(TImageList* Value) {
  if (FImages == Value) return;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  ImagesChanged();
}

void TExToolBar::ImagesChanged() {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* button = dynamic_cast<TPageToolButton*>(Controls(i)); button != nullptr) button->UpdateImage();
}

void TExToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    ImagesChanged();
  }
}

void TExToolBar::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl::CreateWindowHandle(Params);
  if (FHandle == nullptr) return;
  FTips = std::make_unique<fw::TToolTips>(FHandle);
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* button = dynamic_cast<TPageToolButton*>(Controls(i)); button != nullptr && !button->Hint().empty())
      FTips->SetTip(button->Handle(), button->Hint());
}

void TExToolBar::WndProc(TMessage& Message) {
  if (Message.Msg == WM_DESTROY) FTips.reset();
  TWinControl::WndProc(Message);
}

void TExToolBar::PaintWindow(HDC DC) {
  CustomDraw(DC, ClientRect());
}

}  // namespace toolpage
