// Pop-up menus: TPopupMenu holds TMenuItem entries (a caption of "-" is a separator line)
// and shows them with TrackPopupMenu; the picked item's OnClick runs after the menu closed.
// A control shows its PopupMenu when the user asks for the context menu (right click,
// Shift+F10 or the menu key).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/Classes.h"
#include "core/Events.h"

namespace fw {

class TPopupMenu;
class TWinControl;

class TMenuItem : public TComponent {
  FW_CLASS(TMenuItem, TComponent)
 public:
  using TComponent::TComponent;
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  virtual void SetCaption(const std::string& Value) { FCaption = Value; }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value) { FEnabled = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool IsLine() const { return FCaption == "-"; }
  TPopupMenu* Menu() const { return FMenu; }
  // Streamed items are nested in their menu.
  void SetParentComponent(TComponent* Value) override;

  TNotifyEvent OnClick;
  // Runs the item's command: OnClick when assigned.
  virtual void Click();

 private:
  friend class TPopupMenu;
  std::string FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  TPopupMenu* FMenu = nullptr;
};

class TPopupMenu : public TComponent {
  FW_CLASS(TPopupMenu, TComponent)
 public:
  using TComponent::TComponent;
  ~TPopupMenu() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  void Add(TMenuItem* Item);
  void Remove(TMenuItem* Item);
  // The control the menu was last shown for (nil when shown from code without one).
  TWinControl* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TWinControl* Value) { FPopupComponent = Value; }

  // Shows the menu at the screen point and waits until it closes; the picked item's
  // OnClick runs afterwards. Invisible items are left out, disabled ones greyed.
  // Raises EComponentError when there is no window to show it for.
  void Popup(int X, int Y);

 private:
  std::vector<TMenuItem*> FItems;
  TWinControl* FPopupComponent = nullptr;
};

}  // namespace fw
