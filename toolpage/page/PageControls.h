// The small controls the tool page's form is made of: a check box, a panel with a centred
// caption, a sheet control whose sheets show one at a time (no tabs), actions that keep
// their buttons' state, and tool-bar buttons bound to actions.
#pragma once

#include <string>
#include <vector>

#include "gui/Menus.h"
#include "gui/StdCtrls.h"

namespace toolpage {

class TPageCheckBox : public fw::TWinControl {
  FW_CLASS(TPageCheckBox, fw::TWinControl)
 public:
  explicit TPageCheckBox(fw::TComponent* AOwner);
  bool Checked() const;
  void SetChecked(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void WndProc(fw::TMessage& Message) override;

 private:
  bool FChecked = false;
};

// A plain container; its caption is drawn in the middle.
// Notifications of its child controls (WM_NOTIFY) go back to them as CN_BASE + WM_NOTIFY.
class TPagePanel : public fw::TWinControl {
  FW_CLASS(TPagePanel, fw::TWinControl)
 public:
  explicit TPagePanel(fw::TComponent* AOwner);

 protected:
  void PaintWindow(HDC DC) override;
  void WndProc(fw::TMessage& Message) override;
};

class TPageSheet : public TPagePanel {
  FW_CLASS(TPageSheet, TPagePanel)
 public:
  explicit TPageSheet(fw::TComponent* AOwner);
};

// Shows one of its sheets, the others hidden.
class TPageSheets : public fw::TWinControl {
  FW_CLASS(TPageSheets, fw::TWinControl)
 public:
  explicit TPageSheets(fw::TComponent* AOwner);
  TPageSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TPageSheet* Value);
  void Loaded() override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  TPageSheet* FActivePage = nullptr;
};

class TPageAction;

// Something whose state follows an action (a tool-bar button).
class IActionClient {
 public:
  virtual void ActionChanged(TPageAction* Action) = 0;

 protected:
  ~IActionClient() = default;
};

// A command with its caption, hint and enabled state, shared by the buttons bound to it.
class TPageAction : public fw::TComponent {
  FW_CLASS(TPageAction, fw::TComponent)
 public:
  using fw::TComponent::TComponent;
  ~TPageAction() override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // The picture of the action in its buttons' image list; -1 for none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  // Runs OnExecute when enabled; true when it ran.
  bool Execute();
  void AddClient(IActionClient* Client);
  void RemoveClient(IActionClient* Client);
  // Moves Client (the component Follower) from the action Linked names to Value, tells it
  // Value's state and keeps Linked pointing at what it follows.
  static void Relink(TPageAction*& Linked, TPageAction* Value, IActionClient* Client, fw::TComponent* Follower);

  fw::TNotifyEvent OnExecute;

 private:
  void Changed();
  std::string FCaption;
  std::string FHint;
  bool FEnabled = true;
  int FImageIndex = -1;
  std::vector<IActionClient*> FClients;
};

// A menu item that takes its caption and enabled state from its action and runs it.
class TPageMenuItem : public fw::TMenuItem, public IActionClient {
  FW_CLASS(TPageMenuItem, fw::TMenuItem)
 public:
  using fw::TMenuItem::TMenuItem;
  ~TPageMenuItem() override;
  TPageAction* Action() const { return FAction; }
  void SetAction(TPageAction* Value);
  void Click() override;
  void ActionChanged(TPageAction* Action) override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  TPageAction* FAction = nullptr;
};

// A push button that takes its caption and enabled state from its action and runs it. With
// an image (its own index, else the action's, in the image list of the tool bar it sits on)
// it shows the picture instead of the caption, which stays its window text.
class TPageToolButton : public fw::TButton, public IActionClient {
  FW_CLASS(TPageToolButton, fw::TButton)
 public:
  explicit TPageToolButton(fw::TComponent* AOwner);
  ~TPageToolButton() override;
  TPageAction* Action() const { return FAction; }
  void SetAction(TPageAction* Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  // The menu the button drops down below itself.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // Shows the current picture (after the image list was filled).
  void UpdateImage();
  fw::TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(fw::TPopupMenu* Value);
  // Shows DropdownMenu under the button; false without one.
  bool CheckMenuDropdown();
  void Click() override;
  void ActionChanged(TPageAction* Action) override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;

 private:
  int ShownImage() const;
  TPageAction* FAction = nullptr;
  fw::TPopupMenu* FDropdownMenu = nullptr;
  std::string FHint;
  int FImageIndex = -1;
  fw::TIconHandle FIcon;
};

}  // namespace toolpage
