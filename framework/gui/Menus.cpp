#include "Menus.h"

#include <algorithm>

#include "Controls.h"
#include "WinHandles.h"
#include "core/ClassDef.h"

namespace fw {

namespace {

// Destroys the menu handle on every path out of Popup.
struct TMenuHandle {
  HMENU Menu = CreatePopupMenu();
  ~TMenuHandle() {
    if (Menu != nullptr) DestroyMenu(Menu);
  }
};

HWND OwnerWindow(TWinControl* Control) {
  if (Control != nullptr) return Control->Handle();
  return GetActiveWindow();
}

}  // namespace

// --- TMenuItem -------------------------------------------------------------

const TClass& TMenuItem::StaticClass() {
  using T = TMenuItem;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
                                .Boolean("Visible", &T::Visible, &T::SetVisible)
                                .Event("OnClick", &T::OnClick);
  return cls;
}

TMenuItem::~TMenuItem() {
  if (FMenu != nullptr) FMenu->Remove(this);
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (auto* menu = dynamic_cast<TPopupMenu*>(Value); menu != nullptr) {
    menu->Add(this);
    return;
  }
  TComponent::SetParentComponent(Value);
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

// --- TPopupMenu ------------------------------------------------------------

const TClass& TPopupMenu::StaticClass() {
  static const TClass cls = TClassDef<TPopupMenu>().Creatable();
  return cls;
}

TPopupMenu::~TPopupMenu() {
  for (TMenuItem* item : FItems) item->FMenu = nullptr;
}

void TPopupMenu::Add(TMenuItem* Item) {
  if (Item->FMenu == this) return;
  if (Item->FMenu != nullptr) Item->FMenu->Remove(Item);
  FItems.push_back(Item);
  Item->FMenu = this;
}

void TPopupMenu::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FMenu = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  HWND owner = OwnerWindow(FPopupComponent);
  if (owner == nullptr) throw EComponentError("A pop-up menu needs a window to be shown for");
  TMenuHandle menu;
  if (menu.Menu == nullptr) throw EComponentError("The pop-up menu could not be made");
  // Command ids are the item's index + 1 (0 means nothing was picked).
  for (size_t i = 0; i < FItems.size(); ++i) {
    const TMenuItem* item = FItems[i];
    if (!item->Visible()) continue;
    if (item->IsLine()) {
      AppendMenuA(menu.Menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Enabled() ? MF_ENABLED : MF_GRAYED);
    AppendMenuA(menu.Menu, flags, static_cast<UINT_PTR>(i + 1), item->Caption().c_str());
  }
  // The menu may only be used while its owner is the foreground window, else it does not
  // close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  UINT picked = static_cast<UINT>(TrackPopupMenu(
      menu.Menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, X, Y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  if (picked == 0 || picked > FItems.size()) return;
  TMenuItem* item = FItems[picked - 1];
  // The item may have been disabled while the menu was open.
  if (item->Enabled() && item->Visible()) item->Click();
}

}  // namespace fw
