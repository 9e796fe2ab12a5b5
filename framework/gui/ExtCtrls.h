// Further controls of forms: panels, bevel lines, pictures, group boxes and check boxes.
#pragma once

#include "Graphics.h"
#include "StdCtrls.h"

namespace fw {

enum class TBevelCut { bvNone, bvLowered, bvRaised };
using enum TBevelCut;

// A plain area for other controls, in its own colour, with an optional raised or
// lowered edge and a centred caption.
class TPanel : public TWinControl {
  FW_CLASS(TPanel, TWinControl)
 public:
  explicit TPanel(TComponent* AOwner);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  // A second edge inside the outer one (none by default).
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;

 private:
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
};

// A rectangle filled with its colour (its brush), drawn on the parent.
class TShape : public TGraphicControl {
  FW_CLASS(TShape, TGraphicControl)
 public:
  explicit TShape(TComponent* AOwner);
  void Paint(TCanvas& Canvas) override;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
using enum TBevelShape;
enum class TBevelStyle { bsLowered, bsRaised };

// An etched line or box drawn on the parent.
class TBevel : public TGraphicControl {
  FW_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);
  void Paint(TCanvas& Canvas) override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = TBevelStyle::bsLowered;
};

// Shows a picture (bitmap or icon) at its top-left corner, centred or stretched.
class TImage : public TGraphicControl {
  FW_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }
  void SetPicture(const TPicture* Value) { FPicture.Assign(Value); }
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  void Paint(TCanvas& Canvas) override;
  // Where the picture goes inside the control.
  RECT DestRect() const;

 private:
  void PictureChanged(TObject* Sender);
  TPicture FPicture;
  bool FCenter = false;
  bool FStretch = false;
};

// A frame with a caption around other controls.
class TGroupBox : public TWinControl {
  FW_CLASS(TGroupBox, TWinControl)
 public:
  explicit TGroupBox(TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
};

// A check box; a click by the user toggles it and fires OnClick.
class TCheckBox : public TWinControl {
  FW_CLASS(TCheckBox, TWinControl)
 public:
  explicit TCheckBox(TComponent* AOwner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

 private:
  bool FChecked = false;
};

}  // namespace fw
