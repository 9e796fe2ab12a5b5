// A bar the user drags to share a parent's room between an aligned control and the rest.
#pragma once

#include "Controls.h"

namespace fw {

// Aligned like the control it follows (left, right, top or bottom); dragged with the
// mouse, it makes that control wider or narrower (higher or lower), each side keeping
// at least MinSize pixels.
class TSplitter : public TWinControl {
  FW_CLASS(TSplitter, TWinControl)
 public:
  explicit TSplitter(TComponent* AOwner);
  int MinSize() const { return FMinSize; }
  void SetMinSize(int Value) { FMinSize = Value > 0 ? Value : 1; }
  // The visible control aligned the same way whose edge touches the splitter; nil.
  TControl* ResizedControl() const;

  // The drag ended and moved the splitter.
  TNotifyEvent OnMoved;

 protected:
  void PaintWindow(HDC DC) override;
  void WndProc(TMessage& Message) override;

 private:
  bool Sideways() const { return FAlign == alLeft || FAlign == alRight; }
  // The room the resized control may take: up to the parent's client size less the
  // other aligned controls on its axis and MinSize for the rest.
  int MaxSize(const TControl* Resized) const;
  void DragTo(POINT Screen);
  bool FDragging = false;
  POINT FDragStart{};
  int FStartSize = 0;
  int FMinSize = 30;
};

}  // namespace fw
