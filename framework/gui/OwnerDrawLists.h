// Owner-drawn list boxes: lines of one height drawn by the control itself, optionally
// without strings in the window (a virtual list: the window only knows how many lines
// there are, so long lists cost nothing to fill), and lines dragged with the mouse.
#pragma once

#include <cstdint>

#include "GdiCanvas.h"
#include "InputEvents.h"
#include "ListCtrls.h"

namespace fw {

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbVirtualOwnerDraw };
using enum TListBoxStyle;
extern const TEnumInfo kListBoxStyleInfo;

enum class TDragMode { dmManual, dmAutomatic };
using enum TDragMode;
extern const TEnumInfo kDragModeInfo;

enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;

class TOwnerDrawListBox : public TCustomListBox, public TInputEvents {
  FW_CLASS(TOwnerDrawListBox, TCustomListBox)
 public:
  explicit TOwnerDrawListBox(TComponent* AOwner);

  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  // The first line shown.
  int TopIndex() const;
  void SetTopIndex(int Value);
  // The line at a client point; -1 when there is none. Below the last line: -1 when
  // Existing, else the count of lines.
  int ItemAtPos(POINT Pos, bool Existing) const;
  RECT ItemRect(int Index) const;

  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  // Starts dragging at the cursor: at once, or once the mouse has moved a few pixels
  // with the button held.
  void BeginDrag(bool Immediate);
  // Ends a drag without a drop.
  void CancelDrag();
  bool Dragging() const { return FDragging; }

  TNotifyEvent OnDblClick;
  // A drag of the list ended on Target at its client point (X, Y); Target is nil when
  // nothing took the drop. Fired after the list's own handling.
  TMethodPtr<void(TObject* Sender, TObject* Target, int X, int Y)> OnEndDrag;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void ItemsChanged() override;
  // Draws one line; the canvas has the list's font and the brush of the line's state.
  virtual void DrawItem(TGdiCanvas& Canvas, int Index, const RECT& Rect, UINT State);
  virtual void DblClick();
  // Enter reaches the list instead of the dialog manager.
  bool WantsKey(uint16_t Key) const override { return Key == VK_RETURN; }

  // Dragging: the drag starts (before the mouse has moved), the dragged object is over
  // the list at the client point (X, Y), the drag ends on Target (nil: no drop).
  virtual void DoStartDrag() {}
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) { Accept = false; }
  virtual void DoEndDrag(TObject* Target, int X, int Y) {}
  // Where the button went down for the drag, in client coordinates.
  POINT DragStartPoint() const { return FDragStart; }

 private:
  void DrawItemMessage(const DRAWITEMSTRUCT& Item);
  void BeginDragAt(POINT Pos, bool Immediate);
  void StartDragging(POINT Pos);
  void DragMoveTo(POINT Pos);
  void EndDrag(POINT Pos, bool Drop);

  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  TDragMode FDragMode = dmManual;
  bool FDragPending = false;  // the button is down, the mouse has not moved far enough yet
  bool FDragging = false;
  bool FDragInside = false;  // the mouse is over the list
  bool FDragAccepted = false;
  bool FEndingDrag = false;
  POINT FDragStart{};
};

}  // namespace fw
