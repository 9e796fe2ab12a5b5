// The page's tool bar: its buttons over a colour gradient between two shades of the
// button face (painted only on displays with more than 256 colours); each button's hint
// shows as a tooltip when the mouse rests over it.
#pragma once

#include <memory>

#include "gui/Controls.h"
#include "gui/ImageLists.h"
#include "gui/ToolTips.h"

namespace toolpage {

enum class TExToolBarShading { shNone, shLeft, shRight, shDown, shUp };
using enum TExToolBarShading;

struct TToolBarColors {
  fw::TColor Light;
  fw::TColor Dark;
};
// Light: the face 35 % (down, up) or 50 % towards the highlight; Dark: 30 % (down, up) or
// 25 % towards the shadow.
TToolBarColors ToolBarColors(TExToolBarShading Shading, fw::TColor Face, fw::TColor Highlight, fw::TColor Shadow);
// Colour steps of the gradient: the width (left, right) or height (down, up), at most 255.
int GradientSteps(TExToolBarShading Shading, int Width, int Height);
// The colour of step Index of Steps between From and To.
fw::TColor GradientColor(fw::TColor From, fw::TColor To, int Index, int Steps);

class TExToolBar : public fw::TWinControl {
  FW_CLASS(TExToolBar, fw::TWinControl)
 public:
  explicit TExToolBar(fw::TComponent* AOwner);
  TExToolBarShading Shading() const { return FShading; }
  void SetShading(TExToolBarShading Value);
  fw::TColor Light() const { return FLight; }
  fw::TColor Dark() const { return FDark; }
  // The pictures of the buttons on the bar.
  fw::TImageList* Images() const { return FImages; }
  void SetImages(fw::TImageList* Value);
  // The image list's pictures changed: the buttons show them anew.
  void ImagesChanged();
  // Paints the gradient into Rect (when shaded and on a high-colour display); the number
  // of colour steps painted, 0 for none.
  int CustomDraw(HDC DC, const RECT& Rect);
  // The buttons' tooltips while the bar has its window; nil before.
  const fw::TToolTips* ToolTips() const { return FTips.get(); }

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  void WndProc(fw::TMessage& Message) override;
  void PaintWindow(HDC DC) override;
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  void UpdateColors();
  TExToolBarShading FShading = shNone;
  fw::TColor FLight = fw::clBtnFace;
  fw::TColor FDark = fw::clBtnFace;
  fw::TImageList* FImages = nullptr;
  std::unique_ptr<fw::TToolTips> FTips;
};

}  // namespace toolpage
