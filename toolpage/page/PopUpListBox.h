// TPopUpListBox: a borderless list framed in black that follows the mouse: the item under
// it is underlined (tptsUnderline) or selected (tptsFull); it hides itself when the mouse
// leaves it.
#pragma once

#include "gui/OwnerDrawLists.h"

namespace toolpage {

enum class TPopUpTrackStyle { tptsFull, tptsUnderline };
using enum TPopUpTrackStyle;

class TPopUpListBox : public fw::TOwnerDrawListBox {
  FW_CLASS(TPopUpListBox, fw::TOwnerDrawListBox)
 public:
  explicit TPopUpListBox(fw::TComponent* AOwner);

  TPopUpTrackStyle TrackStyle() const { return FTrackStyle; }
  void SetTrackStyle(TPopUpTrackStyle Value) { FTrackStyle = Value; }
  // The item under the mouse, -1 for none.
  int HotItem() const { return FHotItem; }
  bool MouseOver() const { return FMouseOver; }
  // The pointing hand over the list instead of the arrow.
  bool HandPointCursor() const { return FHandPointCursor; }
  void SetHandPointCursor(bool Value) { FHandPointCursor = Value; }

  fw::TNotifyEvent OnMouseEnter;
  fw::TNotifyEvent OnMouseLeave;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(fw::TMessage& Message) override;
  void DrawItem(fw::TGdiCanvas& Canvas, int Index, const RECT& Rect, UINT State) override;
  void CMMouseEnter();
  void CMMouseLeave();
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual void MouseMove(int X, int Y);

 private:
  TPopUpTrackStyle FTrackStyle = tptsUnderline;
  bool FMouseOver = false;
  int FHotItem = -1;
  bool FHandPointCursor = false;
  fw::TFont FDrawFont;  // the font of the line being drawn, selected while it is drawn
};

}  // namespace toolpage
