#include <gtest/gtest.h>

#include "core/ClassDef.h"
#include "gui/Forms.h"

using namespace fw;

namespace {

constexpr UINT WM_THROW = WM_APP + 1;

// A form whose handling of WM_THROW raises what the test asks for.
class TThrowingForm : public TForm {
  FW_CLASS(TThrowingForm, TForm)
 public:
  using TForm::TForm;
  int Kind = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_THROW) {
      if (Kind == 0) throw EComponentError("handler failed");
      if (Kind == 1) Abort();
      throw std::runtime_error("plain failure");
    }
    TForm::WndProc(Message);
  }
};
const TClass& TThrowingForm::StaticClass() {
  static const TClass cls = TClassDef<TThrowingForm>();
  return cls;
}

struct TExceptionLog {
  std::vector<std::string> Messages;
  std::vector<TObject*> Senders;
  void Record(TObject* Sender, Exception& E) {
    Senders.push_back(Sender);
    Messages.push_back(E.Message());
  }
};

TEST(ApplicationExceptions, AnExceptionInAMessageHandlerReachesOnException) {
  TExceptionLog log;
  Application->OnException = TExceptionEvent(&log, &TExceptionLog::Record);
  TOwnedPtr<TThrowingForm> form(new TThrowingForm(nullptr));
  HWND wnd = form->Handle();
  SendMessageA(wnd, WM_THROW, 0, 0);  // the exception must not escape the window procedure
  form->Kind = 1;
  SendMessageA(wnd, WM_THROW, 0, 0);  // EAbort is silent
  form->Kind = 2;
  PostMessageA(wnd, WM_THROW, 0, 0);  // through the message loop too
  Application->ProcessMessages();
  Application->OnException = nullptr;
  EXPECT_EQ(log.Messages, (std::vector<std::string>{"handler failed", "plain failure"}));
  ASSERT_EQ(log.Senders.size(), 2u);
  EXPECT_EQ(log.Senders[0], form.get());
}

// A form described by a resource embedded in the test program.
class TTestResourceForm : public TForm {
  FW_CLASS(TTestResourceForm, TForm)
 public:
  using TForm::TForm;
  TLabel* Title = nullptr;
  TButton* OK = nullptr;
  int Shown = 0;
  int Clicks = 0;
  int WidthAtShow = 0;
  void FormShow(TObject*) {
    ++Shown;
    WidthAtShow = Width();
  }
  void OKClick(TObject*) { ++Clicks; }
};
const TClass& TTestResourceForm::StaticClass() {
  using T = TTestResourceForm;
  static const TClass cls = TClassDef<T>()
                                .Method("FormShow", &T::FormShow)
                                .Method("OKClick", &T::OKClick)
                                .Field("Title", &T::Title)
                                .Field("OK", &T::OK);
  return cls;
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterClasses({&TLabel::StaticClass(), &TButton::StaticClass()}); }
};

TEST_F(FormTest, ResourceFormComesAliveWithItsControlsAndHandlers) {
  TOwnedPtr<TTestResourceForm> form(CreateFormFromResource<TTestResourceForm>(nullptr));
  ASSERT_NE(form->Title, nullptr);
  ASSERT_NE(form->OK, nullptr);
  EXPECT_EQ(form->Caption(), "From the resource");
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->ClientHeight(), 200);
  EXPECT_EQ(form->Title->Caption(), "Kavel\xF1");
  EXPECT_EQ(form->Title->Parent(), form.get());
  // The label's own font height, the form's face: it follows its parent until set.
  EXPECT_EQ(form->Title->Font().Height(), -24);
  EXPECT_FALSE(form->Title->ParentFont());
  EXPECT_EQ(form->OK->Font().Name(), "Arial");
  EXPECT_TRUE(form->OK->ParentFont());
  // An aligned label spans the client width at the top.
  EXPECT_EQ(form->Title->Top(), 0);
  EXPECT_EQ(form->Title->Width(), 300);
  EXPECT_GT(form->Title->Height(), 20);

  form->Show();
  EXPECT_EQ(form->Shown, 1);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  char text[64];
  GetWindowTextA(form->OK->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "OK");
  SendMessageA(form->OK->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->Clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(FormTest, MissingResourceIsReported) {
  try {
    TOwnedPtr<TForm> form(CreateFormFromResource<TForm>(nullptr));
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource TFORM not found");
  }
}

TEST_F(FormTest, ShowModalReturnsTheResultOfTheButtonPressed) {
  TOwnedPtr<TTestResourceForm> form(CreateFormFromResource<TTestResourceForm>(nullptr));
  HWND button = form->OK->Handle();
  PostMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(form->Clicks, 1);
  // Closing a modal form is a cancel.
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(FormTest, DestroyRunsWhileTheFormIsWhole) {
  struct TLog {
    std::vector<std::string> Events;
    void Destroyed(TObject* Sender) { Events.push_back(static_cast<TForm*>(Sender)->Caption()); }
  } log;
  auto* owner = new TComponent(nullptr);
  auto* form = new TForm(owner);
  form->SetCaption("main");
  form->OnDestroy = TNotifyEvent(&log, &TLog::Destroyed);
  owner->Free();  // the owner frees the form the same way
  EXPECT_EQ(log.Events, (std::vector<std::string>{"main"}));
}

TEST(ControlLayout, AlignedControlsShareTheClientArea) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 400, 300);
  auto* top = new TLabel(form.get());
  top->SetAutoSize(false);
  top->SetHeight(30);
  top->SetAlign(alTop);
  top->SetParent(form.get());
  auto* bottom = new TButton(form.get());
  bottom->SetHeight(40);
  bottom->SetAlign(alBottom);
  bottom->SetParent(form.get());
  auto* client = new TButton(form.get());
  client->SetAlign(alClient);
  client->SetParent(form.get());
  EXPECT_EQ(client->Top(), 30);
  EXPECT_EQ(client->Height(), 300 - 30 - 40);
  EXPECT_EQ(bottom->Top(), 260);
  form->SetBounds(0, 0, 500, 400);
  form->HandleNeeded();
  EXPECT_EQ(client->Width(), 500);
  EXPECT_EQ(client->Height(), 400 - 70);
  top->Hide();
  EXPECT_EQ(client->Top(), 0);
}

TEST(MessageWait, HandlesMessagesWhileWaiting) {
  TOwnedPtr<TThrowingForm> form(new TThrowingForm(nullptr));
  TExceptionLog log;
  Application->OnException = TExceptionEvent(&log, &TExceptionLog::Record);
  PostMessageA(form->Handle(), WM_THROW, 0, 0);
  DWORD start = GetTickCount();
  WaitProcessingMessages(120);
  DWORD elapsed = GetTickCount() - start;
  Application->OnException = nullptr;
  EXPECT_EQ(log.Messages.size(), 1u);
  EXPECT_GE(elapsed, 110u);
  EXPECT_LT(elapsed, 2000u);
}

}  // namespace

namespace {

TEST(FormState, ResizingInOnShowKeepsTheStateTheFormIsShownIn) {
  struct TShrink {
    TForm* Form = nullptr;
    void Show(TObject*) {
      Form->SetWidth(0);
      Form->SetHeight(0);
    }
  } shrink;
  TOwnedPtr<TForm> form(new TForm(nullptr));
  form->SetBorderStyle(bsNone);
  shrink.Form = form.get();
  form->OnShow = TNotifyEvent(&shrink, &TShrink::Show);
  form->SetWindowState(wsMaximized);
  form->Show();
  EXPECT_EQ(form->WindowState(), wsMaximized);
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_GT(form->Width(), 600);
}

}  // namespace
