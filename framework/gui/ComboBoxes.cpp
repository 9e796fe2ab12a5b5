#include "ComboBoxes.h"

#include "core/ClassDef.h"

namespace fw {

namespace {
constexpr UINT CN_COMMAND = 0xBC00 + WM_COMMAND;  // a WM_COMMAND reflected from the parent
const char kComboProp[] = "FwComboBox";
}  // namespace

const TEnumInfo kComboBoxStyleInfo{
    "TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};

const TClass& TComboBox::StaticClass() {
  using T = TComboBox;
  static const TClass cls =
      TClassDef<T>()
          .Creatable()
          .Object(
              "Items", [](const T* t) { return &t->Items(); }, [](T* t, TStrings* v) { t->SetItems(v); })
          .Enum("Style", kComboBoxStyleInfo, &T::Style, &T::SetStyle)
          .String("Text", &T::Text, &T::SetText)
          .Integer("ItemIndex", &T::ItemIndex, &T::SetItemIndex)
          .Integer("DropDownCount", &T::DropDownCount, &T::SetDropDownCount)
          .Event("OnChange", &T::OnChange)
          .Event("OnKeyDown", static_cast<TKeyEvent T::*>(&T::OnKeyDown))
          .Event("OnKeyPress", static_cast<TKeyPressEvent T::*>(&T::OnKeyPress))
          .Event("OnExit", static_cast<TNotifyEvent T::*>(&T::OnExit));
  return cls;
}

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner), TInputEvents(this) {
  FWidth = 145;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
  FItems.OnChange = TNotifyEvent(this, &TComboBox::ItemsChanged);
}

TComboBox::~TComboBox() {
  FItems.OnChange = nullptr;
  // The inner edit tells the box of its own end (WM_DESTROY...): the windows go while the
  // box can still take those messages, not from the base class's destructor.
  DestroyHandle();
}

int TComboBox::ItemIndex() const {
  return FItemIndex;
}

void TComboBox::SetItemIndex(int Value) {
  if (Value < 0 || Value >= FItems.Count()) Value = -1;
  FItemIndex = Value;
  FText = Value >= 0 ? FItems.Get(Value) : std::string();
  if (HandleAllocated()) SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TComboBox::SetText(const std::string& Value) {
  if (FStyle == csDropDown || FStyle == csSimple) {
    FText = Value;
    FItemIndex = FItems.IndexOf(Value);
    if (HandleAllocated()) SetWindowTextA(FHandle, Value.c_str());
  } else {
    SetItemIndex(FItems.IndexOf(Value));
  }
}

void TComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (HandleAllocated()) {
    DestroyHandle();
    HandleNeeded();
  }
}

void TComboBox::SetDropDownCount(int Value) {
  FDropDownCount = Value < 1 ? 1 : Value;
}

void TComboBox::SetItemHeight(int Value) {
  FItemHeight = Value;
  if (HandleAllocated() && Value > 0) SendMessageA(FHandle, CB_SETITEMHEIGHT, 0, Value);
}

bool TComboBox::DroppedDown() const {
  return FHandle != nullptr && SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "COMBOBOX";
  Params.SystemClass = true;
  Params.Style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (FStyle) {
    case csDropDown:
      Params.Style |= CBS_DROPDOWN;
      break;
    case csSimple:
      Params.Style |= CBS_SIMPLE;
      break;
    case csDropDownList:
      Params.Style |= CBS_DROPDOWNLIST;
      break;
    case csOwnerDrawFixed:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
      break;
    case csOwnerDrawVariable:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
      break;
  }
  // The window's height includes the dropped list; the box itself is as high as its field.
  if (FStyle != csSimple) Params.Height = FHeight + FDropDownCount * (FItemHeight > 0 ? FItemHeight : 16) + 2;
}

void TComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  // A control id of its own, so that the parent hands it its item measuring.
  SetWindowLongPtrA(FHandle, GWLP_ID, static_cast<LONG_PTR>(reinterpret_cast<UINT_PTR>(FHandle) & 0x7FFFFFFF));
  if (FItemHeight > 0) SendMessageA(FHandle, CB_SETITEMHEIGHT, 0, FItemHeight);
  HookEdit();
  FillWindow();
}

void TComboBox::HookEdit() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  FEditHandle = nullptr;
  if (FStyle != csDropDown && FStyle != csSimple) return;
  if (!GetComboBoxInfo(FHandle, &info) || info.hwndItem == nullptr || info.hwndItem == FHandle) return;
  FEditHandle = info.hwndItem;
  SetPropA(FEditHandle, kComboProp, this);
  FEditDefProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TComboBox::InnerEditProc)));
}

LRESULT CALLBACK TComboBox::InnerEditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* box = static_cast<TComboBox*>(GetPropA(Wnd, kComboProp));
  if (box == nullptr) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  WNDPROC defProc = box->FEditDefProc;
  if (Msg == WM_NCDESTROY) {
    RemovePropA(Wnd, kComboProp);
    SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc));
    if (box->FEditHandle == Wnd) box->FEditHandle = nullptr;
    return CallWindowProcA(defProc, Wnd, Msg, WParam, LParam);
  }
  TMessage message{Msg, WParam, LParam, 0};
  try {
    box->EditWndProc(message);
  } catch (...) {
    message.Result = 0;
  }
  return message.Result;
}

void TComboBox::EditWndProc(TMessage& Message) {
  auto defaultHandling = [this](TMessage& m) {
    m.Result = CallWindowProcA(FEditDefProc, FEditHandle, m.Msg, m.WParam, m.LParam);
  };
  if (InputMessage(Message, defaultHandling)) return;
  defaultHandling(Message);
}

void TComboBox::ItemsChanged(TObject*) {
  if (FItemIndex >= FItems.Count()) FItemIndex = -1;
  if (HandleAllocated()) FillWindow();
}

void TComboBox::FillWindow() {
  SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
  std::string text = FText;
  SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < FItems.Count(); ++i)
    SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems.Get(i).c_str()));
  if (FItemIndex >= 0)
    SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  else if (FStyle == csDropDown || FStyle == csSimple)
    SetWindowTextA(FHandle, text.c_str());
  FText = text;
  SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TComboBox::ReadText() {
  int length = GetWindowTextLengthA(FHandle);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(FHandle, text.data(), length + 1)));
  FText = text;
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TComboBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    switch (HIWORD(Message.WParam)) {
      case CBN_EDITCHANGE:
        ReadText();
        FItemIndex = -1;
        Change();
        return;
      case CBN_SELCHANGE:
        FItemIndex = static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
        FText = FItemIndex >= 0 && FItemIndex < FItems.Count() ? FItems.Get(FItemIndex) : std::string();
        Change();
        return;
      default:
        break;
    }
  }
  if (InputMessage(Message, [this](TMessage& m) { DefaultHandler(m); })) return;
  TWinControl::WndProc(Message);
}

}  // namespace fw
