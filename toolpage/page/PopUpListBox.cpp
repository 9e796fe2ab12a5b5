#include "PopUpListBox.h"

#include "core/ClassDef.h"

namespace toolpage {

namespace {
const fw::TEnumInfo kTrackStyleInfo{"TPopUpTrackStyle", {"tptsFull", "tptsUnderline"}};
}

const fw::TClass& TPopUpListBox::StaticClass() {
  using T = TPopUpListBox;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Enum("TrackStyle", kTrackStyleInfo, &T::TrackStyle, &T::SetTrackStyle)
                                    .Event("OnMouseEnter", &T::OnMouseEnter)
                                    .Event("OnMouseLeave", &T::OnMouseLeave);
  return cls;
}

TPopUpListBox::TPopUpListBox(fw::TComponent* AOwner) : fw::TOwnerDrawListBox(AOwner) {
  SetStyle(fw::lbOwnerDrawFixed);
}

void TPopUpListBox::CreateParams(TCreateParams& Params) {
  fw::TOwnerDrawListBox::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);  // the frame is drawn after painting
}

void TPopUpListBox::CMMouseEnter() {
  if (!FMouseOver && Enabled()) {
    FMouseOver = true;
    DoMouseEnter();
  }
}

void TPopUpListBox::CMMouseLeave() {
  if (FMouseOver && Enabled()) {
    FMouseOver = false;
    DoMouseLeave();
  }
}

void TPopUpListBox::DoMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TPopUpListBox::DoMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
  if (Visible()) {
    Hide();
    FHotItem = -1;
  }
}

void TPopUpListBox::MouseMove(int X, int Y) {
  int n = ItemAtPos(POINT{X, Y}, true);
  if (n == FHotItem) return;
  if (FHotItem >= 0 && HandleAllocated()) {
    RECT r = ItemRect(FHotItem);
    InvalidateRect(Handle(), &r, TRUE);
  }
  FHotItem = n;
  if (n >= 0) {
    RECT r = ItemRect(n);
    if (HandleAllocated()) InvalidateRect(Handle(), &r, TRUE);
    if (FTrackStyle == tptsFull) SetItemIndex(n);
  }
}

void TPopUpListBox::DrawItem(fw::TGdiCanvas& Canvas, int Index, const RECT& Rect, UINT State) {
  Canvas.FillRect(Rect);
  bool hot = Index == FHotItem;
  if (!hot || FTrackStyle == tptsUnderline) {
    // The text colour of the line's state stays unless the hot line is underlined.
    fw::TColor color = Canvas.TextColor();
    FDrawFont.Assign(&Font());
    FDrawFont.SetStyle(hot ? fw::TFontStyles{fw::fsUnderline} : fw::TFontStyles{});
    Canvas.SetFont(FDrawFont);
    Canvas.SetTextColor(hot && (State & ODS_SELECTED) == 0 ? fw::clHighlight : color);
  }
  if (Index >= 0 && Index < Items().Count()) {
    const std::string text = Items().Get(Index);
    TextOutA(Canvas.Handle(), Rect.left + 4, Rect.top + 1, text.c_str(), static_cast<int>(text.size()));
  }
}

void TPopUpListBox::WndProc(fw::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      CMMouseEnter();
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Handle(), 0};
      TrackMouseEvent(&track);
      fw::TOwnerDrawListBox::WndProc(Message);
      MouseMove(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
      return;
    }
    case WM_MOUSELEAVE:
      fw::TOwnerDrawListBox::WndProc(Message);
      CMMouseLeave();
      return;
    case WM_SETCURSOR:
      if (FHandPointCursor && LOWORD(Message.LParam) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        Message.Result = TRUE;
        return;
      }
      fw::TOwnerDrawListBox::WndProc(Message);
      return;
    case WM_PAINT: {
      fw::TOwnerDrawListBox::WndProc(Message);
      HDC dc = GetDC(Handle());
      RECT frame{0, 0, Width(), Height()};
      FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      ReleaseDC(Handle(), dc);
      return;
    }
    default:
      fw::TOwnerDrawListBox::WndProc(Message);
  }
}

}  // namespace toolpage
