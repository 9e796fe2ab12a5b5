#include "ListCtrls.h"

#include <algorithm>

#include "core/ClassDef.h"

namespace fw {

namespace {
constexpr UINT CN_COMMAND = 0xBC00 + WM_COMMAND;  // a WM_COMMAND reflected from the parent
}

// --- TListBoxStrings -------------------------------------------------------

const TClass& TListBoxStrings::StaticClass() {
  static const TClass cls = TClassDef<TListBoxStrings>();
  return cls;
}

int TListBoxStrings::AddObject(const std::string& S, TObject* AObject) {
  if (!FListBox->Sorted()) return TStringList::AddObject(S, AObject);
  // After the lines that sort before it or equal to it.
  int index = 0;
  while (index < Count() && CompareText(Get(index), S) <= 0) ++index;
  InsertObject(index, S, AObject);
  return index;
}

void TListBoxStrings::Changed() {
  TStringList::Changed();
  if (UpdateCount() == 0) FListBox->ItemsChanged();
}

// --- TCustomListBox --------------------------------------------------------

const TClass& TCustomListBox::StaticClass() {
  static const TClass cls = TClassDef<TCustomListBox>();
  return cls;
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 121;
  FHeight = 97;
  FColor = clWindow;
  FParentColor = false;
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < 0 || Value >= FItems.Count()) Value = -1;
  FItemIndex = Value;
  if (HandleAllocated()) SendMessageA(FHandle, LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (Value) FItems.Sort();
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "LISTBOX";
  Params.SystemClass = true;
  // The order of the lines is ours: the window does not sort them itself.
  Params.Style |= WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  FillWindow();
}

void TCustomListBox::FillWindow() {
  SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
  SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < FItems.Count(); ++i)
    SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems.Get(i).c_str()));
  SendMessageA(FHandle, LB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
  SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomListBox::ItemsChanged() {
  if (FItemIndex >= FItems.Count()) FItemIndex = -1;
  if (HandleAllocated()) FillWindow();
}

void TCustomListBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == LBN_SELCHANGE) {
    FItemIndex = static_cast<int>(SendMessageA(FHandle, LB_GETCURSEL, 0, 0));
    Click();
    return;
  }
  TWinControl::WndProc(Message);
}

const TClass& TListBox::StaticClass() {
  using T = TListBox;
  static const TClass cls =
      TClassDef<T>()
          .Creatable()
          .Object(
              "Items", [](const T* t) { return &t->Items(); }, [](T* t, TStrings* v) { t->SetItems(v); })
          .Boolean("Sorted", &T::Sorted, &T::SetSorted);
  return cls;
}

// --- TRadioGroup -----------------------------------------------------------

// One radio button of a radio group; the group creates, places and frees it.
class TGroupButton : public TWinControl {
  FW_CLASS(TGroupButton, TWinControl)
 public:
  explicit TGroupButton(TRadioGroup* Group) : TWinControl(nullptr), FGroup(Group) { FHeight = 17; }

  void SetChecked(bool Value) {
    FChecked = Value;
    if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.WinClassName = "BUTTON";
    Params.SystemClass = true;
    Params.Style |= WS_TABSTOP | BS_RADIOBUTTON;
  }
  void CreateWnd() override {
    TWinControl::CreateWnd();
    SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
      FGroup->ButtonClicked(this);
      return;
    }
    TWinControl::WndProc(Message);
  }

 private:
  TRadioGroup* FGroup;
  bool FChecked = false;
};

const TClass& TGroupButton::StaticClass() {
  static const TClass cls = TClassDef<TGroupButton>();
  return cls;
}

const TClass& TRadioGroup::StaticClass() {
  using T = TRadioGroup;
  static const TClass cls =
      TClassDef<T>()
          .Creatable()
          .String("Caption", &T::Caption, &T::SetCaption)
          .Object(
              "Items", [](const T* t) { return &t->Items(); }, [](T* t, TStrings* v) { t->SetItems(v); })
          .Integer("ItemIndex", &T::ItemIndex, &T::SetItemIndex);
  return cls;
}

TRadioGroup::TRadioGroup(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 185;
  FHeight = 105;
  FItems.OnChange = TNotifyEvent(this, &TRadioGroup::ItemsChanged);
}

TRadioGroup::~TRadioGroup() {
  FItems.OnChange = nullptr;
  for (TGroupButton* button : FButtons) button->Free();
  FButtons.clear();
}

void TRadioGroup::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= BS_GROUPBOX;
}

void TRadioGroup::WndProc(TMessage& Message) {
  // A group box paints its frame and caption only: the inside is its own colour.
  if (Message.Msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(FHandle, &r);
    FillRect(reinterpret_cast<HDC>(Message.WParam), &r, Brush());
    Message.Result = 1;
    return;
  }
  TWinControl::WndProc(Message);
}

void TRadioGroup::SetItemIndex(int Value) {
  // While the form loads, the items may come after the index.
  if (IsLoading()) {
    FItemIndex = Value;
    return;
  }
  if (Value < 0 || Value >= FItems.Count()) Value = -1;
  FItemIndex = Value;
  for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetChecked(static_cast<int>(i) == Value);
}

void TRadioGroup::Loaded() {
  TWinControl::Loaded();
  SetItemIndex(FItemIndex);
}

void TRadioGroup::ItemsChanged(TObject*) {
  size_t count = static_cast<size_t>(FItems.Count());
  while (FButtons.size() > count) {
    FButtons.back()->Free();
    FButtons.pop_back();
  }
  while (FButtons.size() < count) {
    auto* button = new TGroupButton(this);
    FButtons.push_back(button);
    button->SetParent(this);
  }
  for (size_t i = 0; i < count; ++i) FButtons[i]->SetCaption(FItems.Get(static_cast<int>(i)));
  SetItemIndex(FItemIndex);
  ArrangeButtons();
}

void TRadioGroup::ButtonClicked(TGroupButton* Button) {
  auto it = std::find(FButtons.begin(), FButtons.end(), Button);
  if (it == FButtons.end()) return;
  SetItemIndex(static_cast<int>(it - FButtons.begin()));
  Click();
}

void TRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  // One column below the caption, the height shared out evenly.
  int top = -FFont.Height() + 8;
  if (top < 12) top = 12;
  int height = (FHeight - top - 4) / static_cast<int>(FButtons.size());
  if (height < 1) height = 1;
  for (size_t i = 0; i < FButtons.size(); ++i)
    FButtons[i]->SetBounds(8, top + static_cast<int>(i) * height, std::max(FWidth - 16, 1), height);
}

void TRadioGroup::AlignControls(RECT& Rect) {
  ArrangeButtons();
  TWinControl::AlignControls(Rect);
}

void TRadioGroup::BoundsChanged() {
  TWinControl::BoundsChanged();
  ArrangeButtons();
}

}  // namespace fw
