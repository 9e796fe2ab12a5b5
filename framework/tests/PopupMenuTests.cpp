// Pop-up menus as the user meets them: asked for on a control with the mouse or the
// keyboard, or shown by code, and an item chosen with the arrow keys and Enter.
#include <gtest/gtest.h>

#include <atomic>

#include "Screenshot.h"
#include "UiDriver.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/ListCtrls.h"
#include "gui/Menus.h"

using namespace fw;
using namespace testsupport;

namespace {

class TMenuForm : public TForm {
  FW_CLASS(TMenuForm, TForm)
 public:
  using TForm::TForm;
  TListBox* Folders = nullptr;
  TPopupMenu* FolderMenu = nullptr;
  TMenuItem* OpenItem = nullptr;
  TMenuItem* LockedItem = nullptr;
  std::vector<std::string> Events;
  void ItemClick(TObject* Sender) {
    auto* item = static_cast<TMenuItem*>(Sender);
    Events.push_back(item->Caption() + " " + std::to_string(item->Tag()));
  }
};
const TClass& TMenuForm::StaticClass() {
  using T = TMenuForm;
  static const TClass cls = TClassDef<T>()
                                .Method("ItemClick", &T::ItemClick)
                                .Field("Folders", &T::Folders)
                                .Field("FolderMenu", &T::FolderMenu)
                                .Field("OpenItem", &T::OpenItem)
                                .Field("LockedItem", &T::LockedItem);
  return cls;
}

constexpr char kDescription[] = R"(object MenuForm: TMenuForm
  Left = 220
  Top = 160
  Caption = 'Menu form'
  BorderStyle = bsDialog
  ClientWidth = 300
  ClientHeight = 200
  object FolderMenu: TPopupMenu
    object OpenItem: TMenuItem
      Caption = '&Open'
      Tag = -1
      OnClick = ItemClick
    end
    object Line: TMenuItem
      Caption = '-'
    end
    object LockedItem: TMenuItem
      Caption = '&Locked'
      Enabled = False
      OnClick = ItemClick
    end
    object HiddenItem: TMenuItem
      Caption = '&Hidden'
      Visible = False
      OnClick = ItemClick
    end
    object CloseItem: TMenuItem
      Caption = '&Close'
      OnClick = ItemClick
    end
  end
  object Folders: TListBox
    Left = 12
    Top = 12
    Width = 150
    Height = 120
    PopupMenu = FolderMenu
    Items.Strings = (
      'Accessories'
      'Tools')
  end
end
)";

struct TMenuSeen {
  std::vector<TMenuItemInfo> Items;
  RECT Rect{};
};

class PopupMenus : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(new TMenuForm(nullptr));
    Form->InitFromText(kDescription, "TMENUFORM");
    Form->Show();
    Window = WaitForWindow({.ClassName = "TMenuForm", .Caption = "Menu form"});
  }
  // Runs the user's script on its own thread while this thread handles the form's messages
  // until the user is done.
  std::string AsUser(const std::function<void()>& Script) {
    std::atomic<bool> done = false;
    TUserThread user([&] {
      struct TDone {
        std::atomic<bool>& Flag;
        ~TDone() { Flag = true; }
      } signal{done};
      Script();
    });
    WaitUntil([&] { return done.load(); }, 10000);
    PumpMessages(50);
    return user.Failure();
  }
  // Opens nothing itself: waits for the menu, tells what it shows and chooses Caption.
  TMenuSeen Choose(const std::string& Caption) {
    TMenuSeen seen;
    HWND menu = WaitForPopupMenu();
    seen.Items = MenuItems(menu);
    GetWindowRect(menu, &seen.Rect);
    ChooseMenuItem(menu, Caption);
    WaitForWindowToGo(menu);
    return seen;
  }
  TOwnedPtr<TMenuForm> Form;
  HWND Window = nullptr;
};

TEST_F(PopupMenus, ARightClickOpensTheControlsMenuAndTheChosenItemRunsAfterItClosed) {
  HWND list = Form->Folders->Handle();
  TMenuSeen seen;
  EXPECT_EQ(AsUser([&] {
              PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
              PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(20, 30));
              HWND menu = WaitForPopupMenu();
              SaveWindowPng(menu, "popup-menu");
              seen = Choose("Close");
            }),
            "");
  // The hidden item is left out, the disabled one shown grey, the line kept.
  ASSERT_EQ(seen.Items.size(), 4u);
  EXPECT_EQ(seen.Items[0].Caption, "Open");
  EXPECT_EQ(seen.Items[1].Caption, "-");
  EXPECT_EQ(seen.Items[2].Caption, "Locked");
  EXPECT_FALSE(seen.Items[2].Enabled);
  EXPECT_EQ(seen.Items[3].Caption, "Close");
  EXPECT_TRUE(seen.Items[3].Enabled);
  POINT click{20, 30};
  ClientToScreen(list, &click);
  EXPECT_EQ(seen.Rect.left, click.x);
  EXPECT_EQ(seen.Rect.top, click.y);
  EXPECT_EQ(Form->Events, (std::vector<std::string>{"&Close 0"}));
  EXPECT_EQ(Form->FolderMenu->PopupComponent(), Form->Folders);
}

TEST_F(PopupMenus, TheMenuKeyOpensTheMenuAtTheControlAndADisabledItemRunsNothing) {
  HWND list = Form->Folders->Handle();
  TMenuSeen seen;
  EXPECT_EQ(AsUser([&] {
              PressKey(list, VK_APPS);
              HWND menu = WaitForPopupMenu();
              GetWindowRect(menu, &seen.Rect);
              // Enter on the grey item, where the arrow keys reach it, chooses nothing.
              try {
                ChooseMenuItem(menu, "Locked");
              } catch (const EUiDriver&) {
              }
              if (!WaitForWindowToGo(menu, 500)) DismissMenu(menu);
              WaitForWindowToGo(menu);
            }),
            "");
  POINT corner{0, 0};
  ClientToScreen(list, &corner);
  EXPECT_EQ(seen.Rect.left, corner.x);
  EXPECT_EQ(seen.Rect.top, corner.y);
  EXPECT_TRUE(Form->Events.empty());
}

TEST_F(PopupMenus, CodeShowsTheMenuWhereItSaysAndEscapeChoosesNothing) {
  TMenuSeen seen;
  Form->FolderMenu->SetPopupComponent(Form->Folders);
  TUserThread user([&] { seen = Choose("Open"); });
  Form->FolderMenu->Popup(300, 250);
  EXPECT_EQ(user.Failure(), "");
  EXPECT_EQ(seen.Rect.left, 300);
  EXPECT_EQ(seen.Rect.top, 250);
  // The item keeps its Tag for the handler.
  EXPECT_EQ(Form->Events, (std::vector<std::string>{"&Open -1"}));

  // An item turned off in code is greyed the next time; Escape closes without a choice.
  Form->OpenItem->SetEnabled(false);
  TUserThread leaver([&] {
    HWND menu = WaitForPopupMenu();
    seen.Items = MenuItems(menu);
    DismissMenu(menu);
  });
  Form->FolderMenu->Popup(300, 250);
  EXPECT_EQ(leaver.Failure(), "");
  ASSERT_FALSE(seen.Items.empty());
  EXPECT_FALSE(seen.Items[0].Enabled);
  EXPECT_EQ(Form->Events.size(), 1u);
}

TEST_F(PopupMenus, AControlWithoutAMenuOrAFreedMenuShowsNone) {
  delete Form->FolderMenu;
  EXPECT_EQ(Form->Folders->PopupMenu(), nullptr);
  HWND list = Form->Folders->Handle();
  SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
  EXPECT_EQ(FindTopLevelWindow({.ClassName = "#32768", .ProcessId = GetCurrentProcessId()}), nullptr);
}

}  // namespace
