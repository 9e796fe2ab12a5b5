#include "KavelComboBox.h"

#include "core/ClassDef.h"

namespace toolpage {

namespace {
constexpr UINT CN_COMMAND = 0xBC00 + WM_COMMAND;
constexpr UINT CN_MEASUREITEM = 0xBC00 + WM_MEASUREITEM;
constexpr UINT CN_DRAWITEM = 0xBC00 + WM_DRAWITEM;
}  // namespace

const fw::TClass& TKavelComboBox::StaticClass() {
  using T = TKavelComboBox;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Integer("HistoryLen", &T::HistoryLen, &T::SetHistoryLen)
                                    .Event("OnCloseUp", &T::OnCloseUp)
                                    .Boolean("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw)
                                    .Integer("ItemHeight", &T::ItemHeight, &T::SetItemHeight)
                                    .Integer("DroppedWidth", &T::DroppedWidth, &T::SetDroppedWidth)
                                    .Event("OnMouseEnter", &T::OnMouseEnter)
                                    .Event("OnMouseLeave", &T::OnMouseLeave)
                                    .Boolean("AutoPopUp", &T::AutoPopUp, &T::SetAutoPopUp)
                                    .Integer("DefaultIndex", &T::DefaultIndex, &T::SetDefaultIndex);
  return cls;
}

TKavelComboBox::TKavelComboBox(fw::TComponent* AOwner) : TComboBox98(AOwner) {}

TKavelComboBox::~TKavelComboBox() {
  if (FPopUp != nullptr) FreePopUp();
}

void TKavelComboBox::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  if (HandleAllocated()) {
    DestroyHandle();
    HandleNeeded();
  }
}

int TKavelComboBox::ItemHeight() const {
  return TComboBox98::ItemHeight();
}

void TKavelComboBox::SetItemHeight(int Value) {
  FMeasureHeight = Value;
  TComboBox98::SetItemHeight(Value);
}

void TKavelComboBox::SetDroppedWidth(int Value) {
  if (FDroppedWidth == Value) return;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETDROPPEDWIDTH, Value == -1 ? 0 : static_cast<WPARAM>(Value), 0);
  FDroppedWidth = Value;
}

void TKavelComboBox::CreateParams(TCreateParams& Params) {
  TComboBox98::CreateParams(Params);
  if (FOwnerDraw) {
    Params.Style &= ~static_cast<DWORD>(3);
    // The items keep their strings, so that the edit shows the chosen one.
    Params.Style |= CBS_DROPDOWN | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
  }
}

void TKavelComboBox::CreateWnd() {
  TComboBox98::CreateWnd();
  if (FDroppedWidth != -1) SendMessageA(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDroppedWidth), 0);
}

void TKavelComboBox::DrawItem(HDC DC, int Index, const RECT& Rect, UINT State) {
  bool selected = (State & ODS_SELECTED) != 0;
  SetBkColor(DC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(DC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  std::string text = Index >= 0 && Index < Items().Count() ? Items().Get(Index) : std::string();
  ExtTextOutA(DC, Rect.left + 2, Rect.top, ETO_OPAQUE, &Rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

void TKavelComboBox::UpdateHoverState() {
  POINT pos;
  GetCursorPos(&pos);
  if (HandleAllocated()) ScreenToClient(Handle(), &pos);
  FHover = pos.x >= 0 && pos.y >= 0 && pos.x < Width() && pos.y < Height();
}

void TKavelComboBox::DoMouseEnter() {
  if (FAutoPopUp && !FHover) {
    FHover = true;
    ShowPopUp();
  }
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKavelComboBox::DoMouseLeave() {
  if (FAutoPopUp) UpdateHoverState();
  if (OnMouseLeave) OnMouseLeave(this);
}

void TKavelComboBox::ShowPopUp() {
  if (FPopUp == nullptr) {
    FPopUp = new TPopUpListBox(nullptr);
    try {
      FPopUp->SetParent(Parent());
      FPopUp->Items().Assign(&Items());
      FPopUp->SetItemIndex(ItemIndex());
      int height = FPopUp->Items().Count() * FPopUp->ItemHeight() + 5;
      FPopUp->SetBounds(Left(), Top(), Width(), height);
      FPopUp->OnMouseLeave = fw::TNotifyEvent(this, &TKavelComboBox::PopUpMouseLeave);
      FPopUp->OnClick = fw::TNotifyEvent(this, &TKavelComboBox::PopUpClick);
      FPopUp->SetHandPointCursor(true);
      SetWindowPos(FPopUp->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } catch (...) {
      delete FPopUp;
      FPopUp = nullptr;
      throw;
    }
  }
  FPopUp->Show();
  SetFocus(FPopUp->Handle());
}

void TKavelComboBox::PopUpMouseLeave(fw::TObject*) {
  UpdateHoverState();
}

void TKavelComboBox::PopUpClick(fw::TObject*) {
  if (FPopUp == nullptr) return;
  FPopUp->Hide();
  POINT pos;
  GetCursorPos(&pos);
  ScreenToClient(FPopUp->Handle(), &pos);
  RECT client = FPopUp->ClientRect();
  if (PtInRect(&client, pos)) SetItemIndex(FPopUp->ItemIndex());
  UpdateHoverState();
  PostMessageA(Handle(), WM_FREEPOPUP, 0, 0);
}

void TKavelComboBox::FreePopUp() {
  if (FPopUp == nullptr) return;
  TPopUpListBox* popUp = FPopUp;
  FPopUp = nullptr;
  popUp->Hide();
  popUp->SetParent(nullptr);
  delete popUp;
}

void TKavelComboBox::MouseMessage(HWND Window, UINT Msg) {
  if (Msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Window, 0};
    TrackMouseEvent(&track);
    if (!FMouseOver && Enabled()) {
      FMouseOver = true;
      DoMouseEnter();
    }
  } else if (Msg == WM_MOUSELEAVE && FMouseOver && Enabled()) {
    // Moving between the box and its edit is no leaving.
    POINT pos;
    GetCursorPos(&pos);
    RECT box;
    GetWindowRect(Handle(), &box);
    if (PtInRect(&box, pos) && WindowFromPoint(pos) != Window) return;
    FMouseOver = false;
    DoMouseLeave();
  }
}

void TKavelComboBox::EditWndProc(fw::TMessage& Message) {
  if (Message.Msg == WM_MOUSEMOVE || Message.Msg == WM_MOUSELEAVE) MouseMessage(EditHandle(), Message.Msg);
  TComboBox98::EditWndProc(Message);
}

void TKavelComboBox::WndProc(fw::TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == CBN_CLOSEUP) {
        if (OnCloseUp) OnCloseUp(this);
        return;
      }
      break;
    case CN_MEASUREITEM:
      if (FOwnerDraw) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        int height = FMeasureHeight > 0 ? FMeasureHeight : static_cast<int>(item->itemHeight);
        MeasureItem(static_cast<int>(item->itemID), height);
        item->itemHeight = static_cast<UINT>(height);
        Message.Result = 1;
        return;
      }
      break;
    case CN_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      DrawItem(item->hDC, static_cast<int>(item->itemID), item->rcItem, item->itemState);
      Message.Result = 1;
      return;
    }
    case WM_FREEPOPUP:
      FreePopUp();
      return;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
      MouseMessage(Handle(), Message.Msg);
      break;
    default:
      break;
  }
  TComboBox98::WndProc(Message);
}

}  // namespace toolpage
