#include "PageControls.h"

#include <algorithm>

#include "ExToolBar.h"
#include "core/ClassDef.h"

namespace toolpage {

using namespace fw;

namespace {
constexpr UINT kReflectedCommand = 0xBC00 + WM_COMMAND;
}

// --- TPageCheckBox -----------------------------------------------------------

const TClass& TPageCheckBox::StaticClass() {
  using T = TPageCheckBox;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Boolean("Checked", &T::Checked, &T::SetChecked);
  return cls;
}

TPageCheckBox::TPageCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 97;
  FHeight = 17;
}

bool TPageCheckBox::Checked() const {
  return FChecked;
}

void TPageCheckBox::SetChecked(bool Value) {
  FChecked = Value;
  if (FHandle != nullptr) SendMessageA(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TPageCheckBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= WS_TABSTOP | BS_AUTOCHECKBOX;
}

void TPageCheckBox::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl::CreateWindowHandle(Params);
  if (FHandle != nullptr) SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TPageCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == kReflectedCommand && HIWORD(Message.WParam) == BN_CLICKED) {
    FChecked = SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
    Click();
    return;
  }
  TWinControl::WndProc(Message);
}

// --- TPagePanel ----------------------------------------------------------------

const TClass& TPagePanel::StaticClass() {
  using T = TPagePanel;
  static const TClass cls = TClassDef<T>().Creatable().String("Caption", &T::Caption, &T::SetCaption);
  return cls;
}

TPagePanel::TPagePanel(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 185;
  FHeight = 41;
}

void TPagePanel::PaintWindow(HDC DC) {
  if (FText.empty()) return;
  TCanvas canvas(DC);
  canvas.Font().Assign(&Font());
  RECT r = ClientRect();
  SetBkMode(DC, TRANSPARENT);
  canvas.DrawText(FText, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TPagePanel::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NOTIFY) {
    HWND from = reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom;
    for (int i = 0; i < ControlCount(); ++i) {
      auto* child = dynamic_cast<TWinControl*>(Controls(i));
      if (child != nullptr && child->HandleAllocated() && child->Handle() == from) {
        Message.Result = child->Perform(0xBC00 + WM_NOTIFY, Message.WParam, Message.LParam);
        return;
      }
    }
  }
  TWinControl::WndProc(Message);
}

const TClass& TPageSheet::StaticClass() {
  static const TClass cls = TClassDef<TPageSheet>().Creatable();
  return cls;
}

TPageSheet::TPageSheet(TComponent* AOwner) : TPagePanel(AOwner) {
  FAlign = alClient;
}

// --- TPageSheets ---------------------------------------------------------------

const TClass& TPageSheets::StaticClass() {
  using T = TPageSheets;
  static const TClass cls = TClassDef<T>().Creatable().Component("ActivePage", &T::ActivePage, &T::SetActivePage);
  return cls;
}

TPageSheets::TPageSheets(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 289;
  FHeight = 193;
}

void TPageSheets::SetActivePage(TPageSheet* Value) {
  if (FActivePage != nullptr && FActivePage != Value) FActivePage->RemoveFreeNotification(this);
  FActivePage = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (ComponentState().Contains(csLoading)) return;
  for (int i = 0; i < ControlCount(); ++i) {
    auto* sheet = dynamic_cast<TPageSheet*>(Controls(i));
    if (sheet != nullptr && sheet != Value) sheet->SetVisible(false);
  }
  if (Value != nullptr) Value->SetVisible(true);
}

void TPageSheets::Loaded() {
  TWinControl::Loaded();
  SetActivePage(FActivePage);
}

void TPageSheets::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActivePage) FActivePage = nullptr;
}

// --- TPageAction ---------------------------------------------------------------

const TClass& TPageAction::StaticClass() {
  using T = TPageAction;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .String("Hint", &T::Hint, &T::SetHint)
                                .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
                                .Integer("ImageIndex", &T::ImageIndex, &T::SetImageIndex)
                                .Event("OnExecute", &T::OnExecute);
  return cls;
}

TPageAction::~TPageAction() {
  std::vector<IActionClient*> clients = FClients;
  FClients.clear();
  for (IActionClient* client : clients) client->ActionChanged(nullptr);
}

void TPageAction::SetCaption(const std::string& Value) {
  FCaption = Value;
  Changed();
}

void TPageAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed();
}

bool TPageAction::Execute() {
  if (!FEnabled || !OnExecute) return false;
  OnExecute(this);
  return true;
}

void TPageAction::AddClient(IActionClient* Client) {
  if (std::find(FClients.begin(), FClients.end(), Client) == FClients.end()) FClients.push_back(Client);
}

void TPageAction::Relink(TPageAction*& Linked, TPageAction* Value, IActionClient* Client, fw::TComponent* Follower) {
  if (Linked == Value) return;
  if (Linked != nullptr) {
    Linked->RemoveClient(Client);
    Linked->RemoveFreeNotification(Follower);
  }
  Linked = Value;
  if (Value != nullptr) {
    Value->AddClient(Client);
    Value->FreeNotification(Follower);
    Client->ActionChanged(Value);
  }
}

void TPageAction::RemoveClient(IActionClient* Client) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
}

void TPageAction::Changed() {
  for (IActionClient* client : FClients) client->ActionChanged(this);
}

// --- TPageToolButton -------------------------------------------------------------

const TClass& TPageToolButton::StaticClass() {
  using T = TPageToolButton;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Component("Action", &T::Action, &T::SetAction)
                                .String("Hint", &T::Hint, &T::SetHint)
                                .Integer("ImageIndex", &T::ImageIndex, &T::SetImageIndex)
                                .Component("DropdownMenu", &T::DropdownMenu, &T::SetDropdownMenu);
  return cls;
}

TPageToolButton::TPageToolButton(TComponent* AOwner) : TButton(AOwner) {
  FWidth = 23;
  FHeight = 22;
}

TPageToolButton::~TPageToolButton() {
  if (FAction != nullptr) FAction->RemoveClient(this);
}

void TPageToolButton::SetAction(TPageAction* Value) {
  TPageAction::Relink(FAction, Value, this, this);
}

void TPageToolButton::ActionChanged(TPageAction* Action) {
  if (Action == nullptr) {
    FAction = nullptr;
    return;
  }
  if (FText.empty()) SetCaption(Action->Caption());
  if (FHint.empty()) FHint = Action->Hint();
  SetEnabled(Action->Enabled());
  UpdateImage();
}

void TPageToolButton::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  UpdateImage();
}

int TPageToolButton::ShownImage() const {
  return FImageIndex >= 0 ? FImageIndex : FAction != nullptr ? FAction->ImageIndex() : -1;
}

void TPageToolButton::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  if (ShownImage() >= 0) Params.Style |= BS_ICON;
}

void TPageToolButton::CreateWindowHandle(const TCreateParams& Params) {
  TButton::CreateWindowHandle(Params);
  UpdateImage();
}

void TPageToolButton::UpdateImage() {
  if (!HandleAllocated()) return;
  auto* bar = dynamic_cast<TExToolBar*>(FParent);
  TImageList* images = bar != nullptr ? bar->Images() : nullptr;
  int index = ShownImage();
  TIconHandle icon;
  if (images != nullptr && index >= 0 && index < images->Count())
    icon.Reset(ImageList_GetIcon(images->Handle(), index, ILD_TRANSPARENT));
  LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  SetWindowLongPtrA(FHandle, GWL_STYLE, icon ? (style | BS_ICON) : (style & ~static_cast<LONG_PTR>(BS_ICON)));
  SendMessageA(FHandle, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
  FIcon = std::move(icon);  // the button does not own its icon
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TPageToolButton::Click() {
  if (FAction != nullptr) {
    FAction->Execute();
    return;
  }
  TButton::Click();
}

void TPageToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAction) FAction = nullptr;
  if (Operation == opRemove && AComponent == FDropdownMenu) FDropdownMenu = nullptr;
}

void TPageToolButton::SetDropdownMenu(TPopupMenu* Value) {
  if (FDropdownMenu == Value) return;
  if (FDropdownMenu != nullptr) FDropdownMenu->RemoveFreeNotification(this);
  FDropdownMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

bool TPageToolButton::CheckMenuDropdown() {
  if (FDropdownMenu == nullptr || !HandleAllocated()) return false;
  RECT r;
  GetWindowRect(Handle(), &r);
  FDropdownMenu->SetPopupComponent(this);
  FDropdownMenu->Popup(r.left, r.bottom);
  return true;
}

// --- TPageMenuItem ---------------------------------------------------------------

const TClass& TPageMenuItem::StaticClass() {
  using T = TPageMenuItem;
  static const TClass cls = TClassDef<T>().Creatable().Component("Action", &T::Action, &T::SetAction);
  return cls;
}

TPageMenuItem::~TPageMenuItem() {
  if (FAction != nullptr) FAction->RemoveClient(this);
}

void TPageMenuItem::SetAction(TPageAction* Value) {
  TPageAction::Relink(FAction, Value, this, this);
}

void TPageMenuItem::ActionChanged(TPageAction* Action) {
  if (Action == nullptr) {
    FAction = nullptr;
    return;
  }
  SetCaption(Action->Caption());
  SetEnabled(Action->Enabled());
}

// The action runs its handler with itself as the sender, as it does from a button.
void TPageMenuItem::Click() {
  if (FAction != nullptr) {
    FAction->Execute();
    return;
  }
  TMenuItem::Click();
}

void TPageMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TMenuItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAction) FAction = nullptr;
}

}  // namespace toolpage
