// Forms and the application object.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"

namespace fw {

FW_EXCEPTION(EResNotFound, Exception);

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
enum class TPosition { poDesigned, poDefault, poScreenCenter };
using enum TPosition;
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;
// The boxes in the caption; without the system menu there are none.
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
using enum TBorderIcon;

using TCloseEvent = TMethodPtr<void(TObject* Sender, TCloseAction& Action)>;

class TCustomForm : public TWinControl {
  FW_CLASS(TCustomForm, TWinControl)
 public:
  // An empty form; forms described by a resource are made by TApplication::CreateForm
  // or CreateFormFromResource. A form owned by another form has its window owned by
  // that form's window: it stays above it and goes with it (the wizard's pages over
  // the backdrop).
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Reads the form resource named after the class (upper case) from the module that
  // holds this code, then fires OnCreate.
  void InitFromResource();
  // Reads a description given as text (tests, and forms built in memory), then OnCreate.
  void InitFromText(std::string_view Text, const std::string& Source);

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  // A window of another program or module (the host of an embedded page) that the form
  // sits in as a child window; nil for a top-level form.
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }

  void SetVisible(bool Value) override;
  // Shows the form and brings it to the front.
  void Show();
  // Asks OnClose what to do; closing the main form ends the application.
  void Close();
  // Shows the form and runs messages until ModalResult is set and OnClose lets the
  // form go (an action of caNone clears ModalResult and the form stays); other windows
  // of the thread are disabled meanwhile.
  int ShowModal();
  void BeforeDestruction() override;
  RECT ClientRect() const override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  // After the window's size changed.
  TNotifyEvent OnResize;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  DWORD WindowStyle() const;
  DWORD WindowExStyle() const;

 private:
  bool ModalCloseAllowed();
  void ApplyWindowStyle();
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  int FModalResult = mrNone;
  bool FModal = false;
  HWND FParentWindow = nullptr;
};

class TForm : public TCustomForm {
  FW_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

// The form a control sits on, or nil.
TCustomForm* GetParentForm(TControl* Control);

// Makes a form of class T owned by Owner and reads its resource (or the text given).
template <class T>
T* CreateFormFromResource(TComponent* Owner) {
  T* form = new T(Owner);
  try {
    form->InitFromResource();
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

using TExceptionEvent = TMethodPtr<void(TObject* Sender, Exception& E)>;

class TApplication : public TComponent {
  FW_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  TCustomForm* MainForm() const { return FMainForm; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }

  // Creates a form of class T from its resource; the first one becomes the main form.
  template <class T>
  T* CreateForm() {
    T* form = CreateFormFromResource<T>(this);
    if (FMainForm == nullptr) FMainForm = form;
    return form;
  }
  // Shows the main form and handles messages until Terminate.
  void Run();
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // Handles one message, waiting for one when there is none.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // Called inside a catch block: EAbort is dropped, everything else goes to
  // OnException, or to ShowException when that is not assigned.
  void HandleException(TObject* Sender);
  void ShowException(const Exception& E);

  TExceptionEvent OnException;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool ProcessMessage(MSG& Msg);

  std::string FTitle;
  TCustomForm* FMainForm = nullptr;
  bool FShowMainForm = true;
  bool FTerminated = false;
};

// The program's application object.
extern TApplication* Application;

// Waits the given time while handling window messages; also ends when the tick
// count wraps around.
void WaitProcessingMessages(unsigned Milliseconds);

}  // namespace fw
