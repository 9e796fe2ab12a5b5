#include <gtest/gtest.h>

// windows.h comes first (through the framework's headers)
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Screen.h"
// after windows.h
#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "core/ClassDef.h"

using namespace fw;

namespace {

constexpr char kControlsForm[] = R"(object ControlsForm: TControlsForm
  Left = 0
  Top = 0
  Width = 420
  Height = 320
  Caption = 'Controls'
  object Panel: TPanel
    Left = 0
    Top = 0
    Width = 420
    Height = 40
    Align = alTop
    BevelOuter = bvNone
    Caption = 'panel'
  end
  object Line: TBevel
    Left = 4
    Top = 44
    Width = 300
    Height = 2
    Shape = bsTopLine
  end
  object Picture: TImage
    Left = 4
    Top = 50
    Width = 40
    Height = 60
    Center = True
  end
  object Group: TGroupBox
    Left = 50
    Top = 50
    Width = 200
    Height = 60
    Caption = 'Folder'
    object FolderEdit: TEdit
      Left = 8
      Top = 20
      Width = 180
      Height = 21
    end
  end
  object Check: TCheckBox
    Left = 260
    Top = 50
    Width = 100
    Height = 17
    Caption = 'Check'
    Checked = True
  end
  object Bar: TProgressBar
    Left = 4
    Top = 120
    Width = 200
    Height = 16
    Max = 50
    Position = 20
  end
  object Tabs: TTabControl
    Left = 0
    Top = 0
    Width = 200
    Height = 0
    Visible = False
    Tabs.Strings = (
      'one'
      'two')
    TabIndex = 1
  end
  object Text: TRichEdit
    Left = 4
    Top = 140
    Width = 300
    Height = 100
    Font.Name = 'Arial'
    Font.Height = -13
    ReadOnly = True
    ScrollBars = ssVertical
    Lines.Strings = (
      'first line'
      'second line')
  end
end
)";

class TControlsForm : public TForm {
  FW_CLASS(TControlsForm, TForm)
 public:
  using TForm::TForm;
  TPanel* Panel = nullptr;
  TImage* Picture = nullptr;
  TGroupBox* Group = nullptr;
  TEdit* FolderEdit = nullptr;
  TCheckBox* Check = nullptr;
  TProgressBar* Bar = nullptr;
  TTabControl* Tabs = nullptr;
  TRichEdit* Text = nullptr;
  int Clicks = 0;
  void CheckClick(TObject*) { ++Clicks; }
};

}  // namespace

const TClass& TControlsForm::StaticClass() {
  using T = TControlsForm;
  static const TClass cls = TClassDef<T>()
                                .Field("Panel", &T::Panel)
                                .Field("Picture", &T::Picture)
                                .Field("Group", &T::Group)
                                .Field("FolderEdit", &T::FolderEdit)
                                .Field("Check", &T::Check)
                                .Field("Bar", &T::Bar)
                                .Field("Tabs", &T::Tabs)
                                .Field("Text", &T::Text);
  return cls;
}

namespace {

class ExtControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(new TControlsForm(nullptr));
    form->InitFromText(kControlsForm, "ControlsForm");
    form->Show();
  }
  TOwnedPtr<TControlsForm> form;
};

TEST_F(ExtControlsTest, FormDescriptionsMakeEveryControlWithItsWindow) {
  ASSERT_NE(form->Text, nullptr);
  EXPECT_EQ(form->Panel->Width(), form->ClientWidth());
  EXPECT_EQ(form->FolderEdit->Parent(), form->Group);
  EXPECT_EQ(GetParent(form->FolderEdit->Handle()), form->Group->Handle());
  EXPECT_TRUE(form->Check->Checked());
  EXPECT_EQ(SendMessageA(form->Check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(form->Tabs->TabIndex(), 1);
  EXPECT_EQ(SendMessageA(form->Tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(form->Tabs->Handle(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_FALSE(IsWindowVisible(form->Tabs->Handle()));
}

TEST_F(ExtControlsTest, ProgressBarKeepsItsPositionInRangeAndShowsIt) {
  HWND bar = form->Bar->Handle();
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 20);
  form->Bar->SetPosition(80);
  EXPECT_EQ(form->Bar->Position(), 50);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 50);
  form->Bar->SetPosition(-3);
  EXPECT_EQ(form->Bar->Position(), 0);
  form->Bar->SetMax(100);
  form->Bar->SetPosition(75);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 75);
  form->Bar->SetMax(60);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 60);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 60);
}

TEST_F(ExtControlsTest, CheckBoxClickedByTheUserTogglesAndTells) {
  form->Check->OnClick = TNotifyEvent(form.get(), &TControlsForm::CheckClick);
  SendMessageA(form->Check->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form->Check->Checked());
  EXPECT_EQ(form->Clicks, 1);
  form->Check->SetChecked(true);
  EXPECT_EQ(SendMessageA(form->Check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(form->Clicks, 1);
}

TEST_F(ExtControlsTest, TabIndexOutsideTheTabsSelectsNone) {
  form->Tabs->SetTabIndex(2);
  EXPECT_EQ(form->Tabs->TabIndex(), -1);
  form->Tabs->SetTabIndex(0);
  form->Tabs->Tabs().Delete(1);
  form->Tabs->Tabs().Delete(0);
  EXPECT_EQ(form->Tabs->TabIndex(), -1);
}

// Presses the mouse on a tab as the user does (the control may be hidden).
void ClickTab(HWND Tabs, int Index) {
  RECT r{};
  ASSERT_TRUE(SendMessageA(Tabs, TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)));
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(Tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(Tabs, WM_LBUTTONUP, 0, at);
}

TEST_F(ExtControlsTest, TabPickedByTheUserIsAskedForThenTold) {
  std::vector<std::string> log;
  bool allow = false;
  form->Tabs->OnChanging = [&](TObject*, bool& AllowChange) {
    log.push_back("changing from " + std::to_string(form->Tabs->TabIndex()));
    AllowChange = allow;
  };
  form->Tabs->OnChange = [&](TObject*) { log.push_back("changed to " + std::to_string(form->Tabs->TabIndex())); };
  HWND tabs = form->Tabs->Handle();
  ClickTab(tabs, 0);
  EXPECT_EQ(form->Tabs->TabIndex(), 1);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
  allow = true;
  ClickTab(tabs, 0);
  EXPECT_EQ(form->Tabs->TabIndex(), 0);
  // A tab set in code tells nobody.
  form->Tabs->SetTabIndex(1);
  EXPECT_EQ(log, (std::vector<std::string>{"changing from 1", "changing from 1", "changed to 0"}));
}

TEST_F(ExtControlsTest, RichEditShowsItsLinesInItsOwnPlainFont) {
  HWND edit = form->Text->Handle();
  EXPECT_EQ(form->Text->WindowText(), "first line\r\nsecond line\r\n");
  form->Text->Lines().Clear();
  form->Text->Lines().Add("replaced");
  EXPECT_EQ(form->Text->WindowText(), "replaced\r\n");
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_STREQ(format.szFaceName, "Arial");
  EXPECT_EQ(format.dwEffects & CFE_BOLD, 0u);
  EXPECT_EQ(format.yHeight, form->Text->Font().Size() * 20);
  EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(ExtControlsTest, CentredImagePlacesItsPictureInTheMiddle) {
  TBitmap bitmap;
  // A 10 x 20 bitmap of 24 bits, all white.
  std::vector<uint8_t> data(54 + 32 * 20, 0xFF);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  data[0] = 'B';
  data[1] = 'M';
  put32(2, static_cast<uint32_t>(data.size()));
  put32(6, 0);
  put32(10, 54);
  put32(14, 40);
  put32(18, 10);
  put32(22, 20);
  data[26] = 1;
  data[27] = 0;
  data[28] = 24;
  data[29] = 0;
  for (size_t at = 30; at < 54; ++at) data[at] = 0;
  bitmap.LoadFromBytes(data);
  form->Picture->Picture().SetGraphic(&bitmap);
  RECT r = form->Picture->DestRect();
  EXPECT_EQ(r.left, 15);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 10);
  form->Picture->SetStretch(true);
  r = form->Picture->DestRect();
  EXPECT_EQ(r.right, 40);
  EXPECT_EQ(r.bottom, 60);
}

TEST_F(ExtControlsTest, ModalFormStaysWhileItsCloseHandlerRefuses) {
  // The first request to close (the close box) is refused; the handler then lets the
  // next one go, a result set in code a moment later.
  struct TGate {
    int Asked = 0;
    bool StillShownWhenAskedAgain = false;
    void FormClose(TObject* Sender, TCloseAction& Action) {
      if (++Asked == 1)
        Action = caNone;
      else
        StillShownWhenAskedAgain = IsWindowVisible(static_cast<TForm*>(Sender)->Handle()) != FALSE;
    }
    static void CALLBACK Fire(HWND Wnd, UINT, UINT_PTR Id, DWORD) {
      KillTimer(Wnd, Id);
      static_cast<TCustomForm*>(FindControl(Wnd))->SetModalResult(mrAbort);
    }
  } gate;
  form->Hide();
  form->OnClose = TCloseEvent(&gate, &TGate::FormClose);
  HWND wnd = form->Handle();
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  SetTimer(wnd, 1, 200, &TGate::Fire);
  EXPECT_EQ(form->ShowModal(), mrAbort);
  EXPECT_EQ(gate.Asked, 2);
  EXPECT_TRUE(gate.StillShownWhenAskedAgain);
}

}  // namespace

// A screen cursor (the hourglass of a long operation) stays when the mouse moves over a
// window, which would otherwise show its own cursor again.
TEST_F(ExtControlsTest, TheScreenCursorStaysOverEveryWindow) {
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HWND panel = form->Panel->Handle();
  LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  SetScreenCursor(crHourGlass);
  EXPECT_EQ(GetCursor(), wait);
  SetCursor(arrow);
  SendMessageA(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel), overClient);
  EXPECT_EQ(GetCursor(), wait);
  SetScreenCursor(crDefault);
  SendMessageA(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel), overClient);
  EXPECT_EQ(GetCursor(), arrow);
}
