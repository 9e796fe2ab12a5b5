#include "Forms.h"

#include <exception>

#include "GuiStartup.h"
#include "core/ClassDef.h"
#include "core/FormReader.h"

namespace fw {

extern void (*gControlExceptionHook)(TObject* Sender);

namespace {

const TEnumInfo kBorderStyles{"TFormBorderStyle",
                              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumInfo kBorderIcons{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
const TEnumInfo kPositions{"TPosition", {"poDesigned", "poDefault", "poScreenCenter"}};
const TEnumInfo kWindowStates{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};

BOOL CALLBACK CollectEnabledWindow(HWND Wnd, LPARAM List) {
  if (IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
  return TRUE;
}

void ApplicationExceptionHook(TObject* Sender) {
  Application->HandleException(Sender);
}

}  // namespace

TApplication* Application = nullptr;

// --- TCustomForm -----------------------------------------------------------

const TClass& TCustomForm::StaticClass() {
  using T = TCustomForm;
  static const TClass cls = TClassDef<T>()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Enum("BorderStyle", kBorderStyles, &T::BorderStyle, &T::SetBorderStyle)
                                .Set("BorderIcons", kBorderIcons, &T::BorderIcons, &T::SetBorderIcons)
                                .Enum("Position", kPositions, &T::Position, &T::SetPosition)
                                .Enum("WindowState", kWindowStates, &T::WindowState, &T::SetWindowState)
                                .Event("OnCreate", &T::OnCreate)
                                .Event("OnShow", &T::OnShow)
                                .Event("OnHide", &T::OnHide)
                                .Event("OnDestroy", &T::OnDestroy)
                                .Event("OnClose", &T::OnClose)
                                .Event("OnResize", &T::OnResize);
  return cls;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  FVisible = false;
  FParentFont = false;
  FParentColor = false;
  FWidth = 320;
  FHeight = 240;
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::BeforeDestruction() {
  TWinControl::BeforeDestruction();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
}

void TCustomForm::InitFromResource() {
  std::string name = UpperCase(ClassName());
  HMODULE module = ModuleInstance();
  HRSRC info = FindResourceA(module, name.c_str(), reinterpret_cast<LPCSTR>(RT_RCDATA));
  HGLOBAL data = info != nullptr ? LoadResource(module, info) : nullptr;
  const char* text = data != nullptr ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (text == nullptr) throw EResNotFound(Format("Resource %s not found", name));
  InitFromText(std::string_view(text, SizeofResource(module, info)), name);
}

void TCustomForm::InitFromText(std::string_view Text, const std::string& Source) {
  ReadComponentFromText(this, Text, Source);
  DoCreate();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

DWORD TCustomForm::WindowStyle() const {
  DWORD style = WS_OVERLAPPEDWINDOW;
  switch (FBorderStyle) {
    case bsNone:
      return WS_POPUP;
    case bsSingle:
      style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER;
      break;
    case bsDialog:
      style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      break;
    case bsToolWindow:
      style = WS_CAPTION | WS_SYSMENU;
      break;
    case bsSizeToolWin:
      style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      break;
    case bsSizeable:
      break;
  }
  // The boxes a form leaves out; the minimize and maximize boxes go with the system menu.
  if (!FBorderIcons.Contains(biSystemMenu)) style &= ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  if (!FBorderIcons.Contains(biMinimize)) style &= ~WS_MINIMIZEBOX;
  if (!FBorderIcons.Contains(biMaximize)) style &= ~WS_MAXIMIZEBOX;
  return style;
}

DWORD TCustomForm::WindowExStyle() const {
  switch (FBorderStyle) {
    case bsDialog:
      return WS_EX_DLGMODALFRAME;
    case bsToolWindow:
    case bsSizeToolWin:
      return WS_EX_TOOLWINDOW;
    default:
      return 0;
  }
}

RECT TCustomForm::ClientRect() const {
  if (FHandle != nullptr) return TWinControl::ClientRect();
  // Before the window exists: the size less the frame of the border style.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WindowStyle(), FALSE, WindowExStyle());
  return RECT{0, 0, FWidth - (frame.right - frame.left), FHeight - (frame.bottom - frame.top)};
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  ApplyWindowStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  ApplyWindowStyle();
}

void TCustomForm::ApplyWindowStyle() {
  if (FHandle != nullptr) {
    SetWindowLongA(FHandle, GWL_STYLE,
                   static_cast<LONG>(WindowStyle() | (GetWindowLongA(FHandle, GWL_STYLE) & WS_VISIBLE)));
    SetWindowLongA(FHandle, GWL_EXSTYLE, static_cast<LONG>(WindowExStyle()));
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  if (FHandle != nullptr && FVisible)
    ShowWindow(FHandle, Value == wsMaximized   ? SW_SHOWMAXIMIZED
                        : Value == wsMinimized ? SW_SHOWMINIMIZED
                                               : SW_SHOWNORMAL);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style = WindowStyle() | WS_CLIPCHILDREN;
  Params.ExStyle = WindowExStyle();
  Params.WndParent = nullptr;
  if (FParentWindow != nullptr) {
    Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    Params.ExStyle = 0;
    Params.WndParent = FParentWindow;
    return;
  }
  if (auto* owner = dynamic_cast<TCustomForm*>(Owner())) Params.WndParent = owner->Handle();
  if (FPosition == poScreenCenter) {
    Params.X = (GetSystemMetrics(SM_CXSCREEN) - FWidth) / 2;
    Params.Y = (GetSystemMetrics(SM_CYSCREEN) - FHeight) / 2;
    FLeft = Params.X;
    FTop = Params.Y;
  } else if (FPosition == poDefault) {
    Params.X = CW_USEDEFAULT;
    Params.Y = CW_USEDEFAULT;
  }
}

void TCustomForm::SetParentWindow(HWND Value) {
  if (FParentWindow == Value) return;
  FParentWindow = Value;
  // The window's kind (child or top-level) is fixed when it is made: make it anew.
  if (FHandle != nullptr) {
    DestroyHandle();
    if (FVisible) {
      HandleNeeded();
      ShowWindow(FHandle, SW_SHOWNORMAL);
    }
  }
}

void TCustomForm::SetVisible(bool Value) {
  if (FVisible == Value) return;
  if (Value) {
    HandleNeeded();
    FVisible = true;
    DoShow();
    if (FHandle != nullptr)
      ShowWindow(FHandle, FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                          : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                        : SW_SHOWNORMAL);
  } else {
    FVisible = false;
    if (FHandle != nullptr) ShowWindow(FHandle, SW_HIDE);
    DoHide();
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FHandle != nullptr && FParentWindow == nullptr) SetForegroundWindow(FHandle);
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else if (action == caFree) {
    Hide();
    Free();
  }
}

int TCustomForm::ShowModal() {
  if (FVisible || FModal) throw EComponentError("Cannot make a visible window modal");
  // Other windows of this thread wait until the form is done.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  for (HWND wnd : disabled) EnableWindow(wnd, FALSE);
  FModal = true;
  FModalResult = mrNone;
  try {
    Show();
    while (!Application->Terminated()) {
      if (FModalResult != mrNone && ModalCloseAllowed()) break;
      Application->HandleMessage();
    }
  } catch (...) {
    FModal = false;
    for (HWND wnd : disabled) EnableWindow(wnd, TRUE);
    Hide();
    throw;
  }
  FModal = false;
  for (HWND wnd : disabled) EnableWindow(wnd, TRUE);
  Hide();
  return FModalResult;
}

bool TCustomForm::ModalCloseAllowed() {
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action != caNone) return true;
  FModalResult = mrNone;
  return false;
}

void TCustomForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      Message.Result = 0;
      return;
    case WM_SIZE:
      // Only a shown window's state changes by sizing: resizing a hidden form keeps
      // the state it is to be shown in.
      if (!IsWindowVisible(FHandle))
        break;
      else if (Message.WParam == SIZE_MAXIMIZED)
        FWindowState = wsMaximized;
      else if (Message.WParam == SIZE_MINIMIZED)
        FWindowState = wsMinimized;
      else if (Message.WParam == SIZE_RESTORED)
        FWindowState = wsNormal;
      break;
    default:
      break;
  }
  TWinControl::WndProc(Message);
  if (Message.Msg == WM_SIZE && OnResize) OnResize(this);
}

const TClass& TForm::StaticClass() {
  static const TClass cls = TClassDef<TForm>().Creatable();
  return cls;
}

TCustomForm* GetParentForm(TControl* Control) {
  while (Control != nullptr && Control->Parent() != nullptr) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

// --- TApplication ----------------------------------------------------------

const TClass& TApplication::StaticClass() {
  static const TClass cls = TClassDef<TApplication>();
  return cls;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  gControlExceptionHook = ApplicationExceptionHook;
}

TApplication::~TApplication() {
  gControlExceptionHook = nullptr;
  DestroyComponents();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  HWND top = Msg.hwnd != nullptr ? GetAncestor(Msg.hwnd, GA_ROOT) : nullptr;
  // Alt and a key go to the form's controls first (labels focus their control), before
  // the dialog manager looks for a button with that mnemonic.
  if (Msg.message == WM_SYSCHAR && top != nullptr) {
    TWinControl* form = FindControl(top);
    if (form != nullptr && form->DialogChar(static_cast<char>(Msg.wParam))) return true;
  }
  if (top == nullptr || !IsDialogMessageA(top, &Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  try {
    if (!ProcessMessage(msg)) WaitMessage();
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::Run() {
  if (FMainForm != nullptr && FShowMainForm) {
    try {
      FMainForm->Show();
    } catch (...) {
      HandleException(FMainForm);
    }
  }
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
  if (!FTerminated) PostQuitMessage(0);
  FTerminated = true;
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
  } catch (Exception& e) {
    if (OnException)
      OnException(Sender, e);
    else
      ShowException(e);
  } catch (const std::exception& e) {
    Exception wrapped(e.what());
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  } catch (...) {
    Exception wrapped("Unknown exception");
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  std::string text = E.Message();
  if (!text.empty() && text.back() > '.') text += '.';
  HWND owner = GetActiveWindow();
  MessageBoxA(owner, text.c_str(), FTitle.c_str(), MB_OK | MB_ICONSTOP);
}

// --- the message-pumping wait ----------------------------------------------

void WaitProcessingMessages(unsigned Milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    DWORD now = GetTickCount();
    if (now < start) return;  // the tick count wrapped
    DWORD elapsed = now - start;
    if (elapsed >= Milliseconds || Application->Terminated()) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds - elapsed, QS_ALLINPUT);
  }
}

}  // namespace fw
