// A form built from a description, driven as a user would through the shared UI driver:
// what the user sees of it, typing, choosing and pressing reaching the form's handlers,
// and a modal form answered from a second thread.
#include <gtest/gtest.h>

#include "Screenshot.h"
#include "UiDriver.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/ListCtrls.h"

using namespace fw;
using namespace testsupport;

namespace {

class TDrivenForm : public TForm {
  FW_CLASS(TDrivenForm, TForm)
 public:
  using TForm::TForm;
  TEdit* NameEdit = nullptr;
  TListBox* Folders = nullptr;
  TRadioGroup* Reboot = nullptr;
  TButton* OK = nullptr;
  TButton* Cancel = nullptr;
  std::vector<std::string> Events;
  void NameChange(TObject*) { Events.push_back("name " + NameEdit->Text()); }
  void FoldersClick(TObject*) { Events.push_back("folder " + std::to_string(Folders->ItemIndex())); }
  void RebootClick(TObject*) { Events.push_back("reboot " + std::to_string(Reboot->ItemIndex())); }
  void OKClick(TObject*) { Events.push_back("ok"); }
};
const TClass& TDrivenForm::StaticClass() {
  using T = TDrivenForm;
  static const TClass cls = TClassDef<T>()
                                .Method("NameChange", &T::NameChange)
                                .Method("FoldersClick", &T::FoldersClick)
                                .Method("RebootClick", &T::RebootClick)
                                .Method("OKClick", &T::OKClick)
                                .Field("NameEdit", &T::NameEdit)
                                .Field("Folders", &T::Folders)
                                .Field("Reboot", &T::Reboot)
                                .Field("OK", &T::OK)
                                .Field("Cancel", &T::Cancel);
  return cls;
}

constexpr char kDescription[] = R"(object DrivenForm: TDrivenForm
  Left = 200
  Top = 150
  Caption = 'Driven form'
  BorderStyle = bsDialog
  ClientWidth = 360
  ClientHeight = 220
  object Prompt: TLabel
    Left = 12
    Top = 14
    Caption = 'Name:'
  end
  object NameEdit: TEdit
    Left = 70
    Top = 10
    Width = 170
    Text = 'first'
    OnChange = NameChange
  end
  object Folders: TListBox
    Left = 12
    Top = 44
    Width = 150
    Height = 120
    Items.Strings = (
      'Accessories'
      'Startup'
      'Tools')
    OnClick = FoldersClick
  end
  object Reboot: TRadioGroup
    Left = 180
    Top = 44
    Width = 165
    Height = 120
    Caption = 'Restart'
    ItemIndex = 0
    Items.Strings = (
      'Now'
      'Later'
      'Never')
    OnClick = RebootClick
  end
  object OK: TButton
    Left = 180
    Top = 180
    Caption = 'OK'
    ModalResult = 1
    OnClick = OKClick
  end
  object Cancel: TButton
    Left = 265
    Top = 180
    Caption = 'Cancel'
    ModalResult = 2
  end
end
)";

TDrivenForm* MakeForm() {
  auto* form = new TDrivenForm(nullptr);
  form->InitFromText(kDescription, "TDRIVENFORM");
  return form;
}

const TWindowQuery kFormWindow{.ClassName = "TDrivenForm", .Caption = "Driven form"};

const TControlInfo* Find(const std::vector<TControlInfo>& Controls, const std::string& Class, const std::string& Text) {
  for (const TControlInfo& control : Controls)
    if (control.ClassName == Class && control.Text == Text) return &control;
  return nullptr;
}

TEST(FormDriving, TheControlsOfADescribedFormAreThereAsAUserSeesThem) {
  TOwnedPtr<TDrivenForm> form(MakeForm());
  form->Show();
  HWND wnd = WaitForWindow({.ClassName = "TDrivenForm", .Caption = "Driven form", .ThreadId = GetCurrentThreadId()});
  EXPECT_EQ(wnd, form->Handle());

  std::vector<TControlInfo> controls = ListControls(wnd);
  // The label paints on the form: it has no window of its own.
  EXPECT_EQ(Find(controls, "Static", "Name:"), nullptr);
  const TControlInfo* edit = Find(controls, "Edit", "first");
  const TControlInfo* ok = Find(controls, "Button", "OK");
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(ok, nullptr);
  for (const char* text : {"Cancel", "Restart", "Now", "Later", "Never"})
    EXPECT_NE(Find(controls, "Button", text), nullptr) << text;
  EXPECT_EQ(FindControl(wnd, {.ClassName = "ListBox"}), form->Folders->Handle());
  EXPECT_TRUE(ok->Visible);
  EXPECT_TRUE(ok->Enabled);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  EXPECT_EQ(ok->Rect.left - origin.x, 180);
  EXPECT_EQ(ok->Rect.top - origin.y, 180);
  EXPECT_EQ(edit->Rect.right - edit->Rect.left, 170);
  // The radio buttons sit inside their group.
  HWND group = FindControl(wnd, {.Caption = "Restart"});
  EXPECT_EQ(GetParent(FindControl(wnd, {.Caption = "Later"})), group);
  SaveWindowPng(wnd, "driven-form");
}

TEST(FormDriving, TypingChoosingAndPressingReachTheFormsHandlers) {
  TOwnedPtr<TDrivenForm> form(MakeForm());
  form->Show();
  HWND wnd = WaitForWindow(kFormWindow);
  SetEditText(RequireControl(wnd, {.ClassName = "Edit"}), "Kavel");
  ChooseListItem(RequireControl(wnd, {.ClassName = "ListBox"}), "Tools");
  ChooseRadioButton(RequireControl(wnd, {.Caption = "Never"}));
  EXPECT_EQ(form->Events, (std::vector<std::string>{"name Kavel", "folder 2", "reboot 2"}));
  EXPECT_EQ(form->NameEdit->Text(), "Kavel");
  EXPECT_EQ(ControlText(form->NameEdit->Handle()), "Kavel");
  EXPECT_EQ(form->Folders->ItemIndex(), 2);
  EXPECT_EQ(form->Reboot->ItemIndex(), 2);
  EXPECT_EQ(SendMessageA(FindControl(wnd, {.Caption = "Never"}), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(FindControl(wnd, {.Caption = "Now"}), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SaveWindowPng(wnd, "driven-form-filled");

  Click(RequireControl(wnd, {.Caption = "OK"}));
  EXPECT_EQ(form->Events.back(), "ok");
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST(FormDriving, ControlsAUserCannotReachRefuseTheAction) {
  TOwnedPtr<TDrivenForm> form(MakeForm());
  form->Cancel->SetEnabled(false);
  form->Folders->SetVisible(false);
  form->Show();
  HWND wnd = WaitForWindow(kFormWindow);
  EXPECT_THROW(Click(RequireControl(wnd, {.Caption = "Cancel"})), EUiDriver);
  EXPECT_THROW(ChooseListItem(form->Folders->Handle(), 0), EUiDriver);
  EXPECT_THROW(RequireControl(wnd, {.Caption = "Apply"}), EUiDriver);
  EXPECT_EQ(form->ModalResult(), mrNone);
  EXPECT_EQ(form->Folders->ItemIndex(), -1);
  EXPECT_TRUE(form->Events.empty());
}

TEST(FormDriving, AModalFormIsAnsweredByAUserOnAnotherThread) {
  TOwnedPtr<TDrivenForm> form(MakeForm());
  TUserThread user([] {
    HWND wnd = WaitForWindow(kFormWindow);
    SetEditText(RequireControl(wnd, {.ClassName = "Edit"}), "from the user");
    SaveWindowPng(wnd, "driven-form-modal");
    Click(RequireControl(wnd, {.Caption = "OK"}));
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(user.Failure(), "");
  EXPECT_EQ(form->NameEdit->Text(), "from the user");
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST(FormDriving, AUserThatFailsClosesTheModalFormAndReportsWhy) {
  TOwnedPtr<TDrivenForm> form(MakeForm());
  TUserThread user([] {
    HWND wnd = WaitForWindow(kFormWindow);
    Click(RequireControl(wnd, {.Caption = "Apply"}));
  });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_NE(user.Failure().find("\"Apply\""), std::string::npos) << user.Failure();
}

TEST(FormDriving, AskingToCloseHidesTheForm) {
  TOwnedPtr<TDrivenForm> form(MakeForm());
  form->Show();
  HWND wnd = WaitForWindow(kFormWindow);
  RequestClose(wnd);
  EXPECT_TRUE(WaitForWindowToGo(wnd, 2000));
  EXPECT_EQ(FindTopLevelWindow(kFormWindow), nullptr);
}

}  // namespace
