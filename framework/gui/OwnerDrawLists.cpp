#include "OwnerDrawLists.h"

#include <cstdlib>

#include "core/ClassDef.h"

namespace fw {

namespace {
constexpr UINT CN_DRAWITEM = 0xBC00 + WM_DRAWITEM;  // a WM_DRAWITEM reflected from the parent
constexpr int kDragThreshold = 5;                   // pixels the mouse moves before a drag starts

POINT MessagePoint(LPARAM LParam) {
  return POINT{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}
}  // namespace

const TEnumInfo kListBoxStyleInfo{"TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbVirtualOwnerDraw"}};
const TEnumInfo kDragModeInfo{"TDragMode", {"dmManual", "dmAutomatic"}};

const TClass& TOwnerDrawListBox::StaticClass() {
  using T = TOwnerDrawListBox;
  static const TClass cls =
      TClassDef<T>()
          .Creatable()
          .Object(
              "Items", [](const T* t) { return &t->Items(); }, [](T* t, TStrings* v) { t->SetItems(v); })
          .Enum("Style", kListBoxStyleInfo, &T::Style, &T::SetStyle)
          .Integer("ItemHeight", &T::ItemHeight, &T::SetItemHeight)
          .Enum("DragMode", kDragModeInfo, &T::DragMode, &T::SetDragMode)
          .Event("OnDblClick", &T::OnDblClick)
          .Event("OnEndDrag", &T::OnEndDrag)
          .Event("OnKeyDown", static_cast<TKeyEvent T::*>(&T::OnKeyDown))
          .Event("OnKeyPress", static_cast<TKeyPressEvent T::*>(&T::OnKeyPress))
          .Event("OnExit", static_cast<TNotifyEvent T::*>(&T::OnExit));
  return cls;
}

TOwnerDrawListBox::TOwnerDrawListBox(TComponent* AOwner) : TCustomListBox(AOwner), TInputEvents(this) {}

void TOwnerDrawListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HandleAllocated()) {
    DestroyHandle();
    HandleNeeded();
  }
}

void TOwnerDrawListBox::SetItemHeight(int Value) {
  if (Value <= 0) return;
  FItemHeight = Value;
  if (HandleAllocated() && FStyle != lbStandard) {
    SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, Value);
    Invalidate();
  }
}

int TOwnerDrawListBox::TopIndex() const {
  return FHandle != nullptr ? static_cast<int>(SendMessageA(FHandle, LB_GETTOPINDEX, 0, 0)) : 0;
}

void TOwnerDrawListBox::SetTopIndex(int Value) {
  if (FHandle != nullptr) SendMessageA(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

int TOwnerDrawListBox::ItemAtPos(POINT Pos, bool Existing) const {
  RECT client = ClientRect();
  if (Pos.x < 0 || Pos.x >= client.right || Pos.y < 0 || Pos.y >= client.bottom) return -1;
  int height = FItemHeight;
  if (FStyle == lbStandard && FHandle != nullptr)
    height = static_cast<int>(SendMessageA(FHandle, LB_GETITEMHEIGHT, 0, 0));
  if (height <= 0) return -1;
  int index = TopIndex() + Pos.y / height;
  if (index >= Items().Count()) return Existing ? -1 : Items().Count();
  return index;
}

RECT TOwnerDrawListBox::ItemRect(int Index) const {
  RECT r{};
  if (FHandle != nullptr)
    SendMessageA(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TOwnerDrawListBox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (FStyle == lbVirtualOwnerDraw) Params.Style |= LBS_OWNERDRAWFIXED | LBS_NODATA;
}

void TOwnerDrawListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  if (FStyle != lbStandard) SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
  if (FStyle == lbVirtualOwnerDraw) ItemsChanged();
}

void TOwnerDrawListBox::ItemsChanged() {
  if (FStyle != lbVirtualOwnerDraw) {
    TCustomListBox::ItemsChanged();
    return;
  }
  // The window only learns the count; drawing reads the lines.
  if (HandleAllocated()) {
    SendMessageA(FHandle, LB_SETCOUNT, static_cast<WPARAM>(Items().Count()), 0);
    InvalidateRect(FHandle, nullptr, TRUE);
  }
  // The selection stays where it is (setting it again would scroll it into view).
  if (ItemIndex() >= Items().Count()) SetItemIndex(-1);
}

void TOwnerDrawListBox::DrawItem(TGdiCanvas& Canvas, int Index, const RECT& Rect, UINT State) {
  Canvas.FillRect(Rect);
  if (Index >= 0 && Index < Items().Count())
    TextOutA(Canvas.Handle(), Rect.left + 2, Rect.top, Items().Get(Index).c_str(),
             static_cast<int>(Items().Get(Index).size()));
}

void TOwnerDrawListBox::DrawItemMessage(const DRAWITEMSTRUCT& Item) {
  if (Item.itemID == static_cast<UINT>(-1)) return;
  int saved = SaveDC(Item.hDC);
  {
    TGdiCanvas canvas(Item.hDC);
    canvas.SetFont(Font());
    bool selected = (Item.itemState & ODS_SELECTED) != 0;
    canvas.SetBrushColor(selected ? clHighlight : Color());
    canvas.SetTextColor(selected ? clHighlightText : Font().Color());
    SetBkMode(Item.hDC, TRANSPARENT);
    DrawItem(canvas, static_cast<int>(Item.itemID), Item.rcItem, Item.itemState);
    if ((Item.itemState & ODS_FOCUS) != 0 && (Item.itemAction & ODA_FOCUS) == 0) DrawFocusRect(Item.hDC, &Item.rcItem);
  }
  RestoreDC(Item.hDC, saved);
}

void TOwnerDrawListBox::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TOwnerDrawListBox::BeginDrag(bool Immediate) {
  if (!HandleAllocated()) return;
  POINT pos;
  GetCursorPos(&pos);
  ScreenToClient(FHandle, &pos);
  BeginDragAt(pos, Immediate);
}

void TOwnerDrawListBox::BeginDragAt(POINT Pos, bool Immediate) {
  if (FDragging || FDragPending || !HandleAllocated()) return;
  FDragStart = Pos;
  FDragPending = true;
  if (GetCapture() != FHandle) SetCapture(FHandle);
  DoStartDrag();
  if (Immediate) StartDragging(Pos);
}

void TOwnerDrawListBox::StartDragging(POINT Pos) {
  FDragPending = false;
  FDragging = true;
  FDragInside = false;
  FDragAccepted = false;
  DragMoveTo(Pos);
}

void TOwnerDrawListBox::DragMoveTo(POINT Pos) {
  RECT client = ClientRect();
  bool inside = PtInRect(&client, Pos) != 0;
  if (inside) {
    bool accept = true;
    DragOver(this, Pos.x, Pos.y, FDragInside ? dsDragMove : dsDragEnter, accept);
    FDragAccepted = accept;
    FDragInside = true;
  } else if (FDragInside) {
    bool accept = false;
    FDragInside = false;
    FDragAccepted = false;
    DragOver(this, Pos.x, Pos.y, dsDragLeave, accept);
  }
  SetCursor(LoadCursorA(nullptr, FDragAccepted ? IDC_ARROW : IDC_NO));
}

void TOwnerDrawListBox::EndDrag(POINT Pos, bool Drop) {
  bool dragging = FDragging;
  if (dragging && Drop) DragMoveTo(Pos);
  bool dropped = dragging && Drop && FDragInside && FDragAccepted;
  if (dragging && FDragInside && !dropped) {
    bool accept = false;
    DragOver(this, Pos.x, Pos.y, dsDragLeave, accept);
  }
  FDragPending = false;
  FDragging = false;
  FDragInside = false;
  FDragAccepted = false;
  if (GetCapture() == FHandle) {
    FEndingDrag = true;
    ReleaseCapture();
    FEndingDrag = false;
  }
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  TObject* target = dropped ? this : nullptr;
  const POINT at = dropped ? Pos : POINT{0, 0};
  DoEndDrag(target, at.x, at.y);
  if (OnEndDrag) OnEndDrag(this, target, at.x, at.y);
}

void TOwnerDrawListBox::CancelDrag() {
  if (FDragging || FDragPending) EndDrag(POINT{0, 0}, false);
}

void TOwnerDrawListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM:
      DrawItemMessage(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = 1;
      return;
    case WM_LBUTTONDOWN:
      TCustomListBox::WndProc(Message);
      if (FDragMode == dmAutomatic && HandleAllocated()) BeginDragAt(MessagePoint(Message.LParam), false);
      return;
    case WM_LBUTTONDBLCLK:
      TCustomListBox::WndProc(Message);
      DblClick();
      return;
    case WM_MOUSEMOVE: {
      POINT pos = MessagePoint(Message.LParam);
      if (FDragPending &&
          (std::abs(pos.x - FDragStart.x) >= kDragThreshold || std::abs(pos.y - FDragStart.y) >= kDragThreshold)) {
        StartDragging(pos);
        return;
      }
      if (FDragging) {
        DragMoveTo(pos);
        return;
      }
      if (FDragPending) return;  // the list does not track a press that may become a drag
      break;
    }
    case WM_LBUTTONUP:
      if (FDragging || FDragPending) {
        FEndingDrag = true;
        TCustomListBox::WndProc(Message);  // the list ends its own tracking of the button
        FEndingDrag = false;
        EndDrag(MessagePoint(Message.LParam), true);
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if ((FDragging || FDragPending) && !FEndingDrag && reinterpret_cast<HWND>(Message.LParam) != FHandle)
        CancelDrag();
      break;
    case WM_SETCURSOR:
      if (FDragging) {
        Message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  if (InputMessage(Message, [this](TMessage& m) { DefaultHandler(m); })) return;
  TCustomListBox::WndProc(Message);
}

}  // namespace fw
