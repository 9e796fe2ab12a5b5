// The UI driver: window look-up by enumeration, actions as the messages a user's
// mouse and keyboard would cause.
#include "UiDriver.h"

#include <algorithm>
#include <cctype>

namespace testsupport {

namespace {

constexpr UINT kSendTimeout = 5000;

std::string ClassOf(HWND Wnd) {
  char name[256] = "";
  int length = GetClassNameA(Wnd, name, sizeof name);
  return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

bool SameText(const std::string& A, const std::string& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
           return CharUpperA(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<unsigned char>(a)))) ==
                  CharUpperA(reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<unsigned char>(b))));
         });
}

std::string WithoutAccelerators(const std::string& Text) {
  std::string plain;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '&' && i + 1 < Text.size()) ++i;  // "&&" stands for one "&"
    plain += Text[i];
  }
  return plain;
}

bool Fits(HWND Wnd, const TWindowQuery& Query) {
  if (!IsWindowVisible(Wnd)) return false;
  DWORD process = 0;
  DWORD thread = GetWindowThreadProcessId(Wnd, &process);
  if (Query.ProcessId != 0 && process != Query.ProcessId) return false;
  if (Query.ThreadId != 0 && thread != Query.ThreadId) return false;
  if (!Query.ClassName.empty() && !SameText(ClassOf(Wnd), Query.ClassName)) return false;
  return Query.Caption.empty() || ControlText(Wnd) == Query.Caption;
}

BOOL CALLBACK CollectWindow(HWND Wnd, LPARAM List) {
  reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string VisibleWindowsList() {
  std::string list;
  for (HWND wnd : TopLevelWindows())
    if (IsWindowVisible(wnd)) list += "\n  " + ClassOf(wnd) + " \"" + ControlText(wnd) + "\"";
  return list.empty() ? " none" : list;
}

std::string Describe(HWND Control) {
  return ClassOf(Control) + " \"" + ControlText(Control) + "\"";
}

// A user can only act on a control that is there, shown and enabled.
void RequireUsable(HWND Control, const char* Action) {
  if (Control == nullptr || !IsWindow(Control)) throw EUiDriver(std::string(Action) + ": no such control");
  if (!IsWindowVisible(Control)) throw EUiDriver(std::string(Action) + ": " + Describe(Control) + " is hidden");
  if (!IsWindowEnabled(Control)) throw EUiDriver(std::string(Action) + ": " + Describe(Control) + " is disabled");
}

LRESULT Send(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(Wnd, Msg, WParam, LParam, SMTO_NORMAL, kSendTimeout, &result))
    throw EUiDriver("no answer from " + ClassOf(Wnd) + " to message " + std::to_string(Msg));
  return static_cast<LRESULT>(result);
}

// An action's message: handled at once when the window is the caller's own; posted when
// it belongs to another thread, as a user's input is, so that the message loop there
// wakes up afterwards (a loop waiting for a posted message sleeps through sent ones)
// and a modal window that the action opens does not hold the caller.
void Deliver(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (GetWindowThreadProcessId(Wnd, nullptr) == GetCurrentThreadId())
    SendMessageA(Wnd, Msg, WParam, LParam);
  else
    PostMessageA(Wnd, Msg, WParam, LParam);
}

// A control's notification to its parent, the way the control itself sends it.
void NotifyParent(HWND Control, WORD Code) {
  HWND parent = GetParent(Control);
  if (parent == nullptr) return;
  Deliver(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Control), Code), reinterpret_cast<LPARAM>(Control));
}

}  // namespace

void PumpMessages(DWORD Milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {  // not ours to take: leave it for the loop that waits for it
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    DWORD passed = GetTickCount() - start;
    if (passed >= Milliseconds) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(Milliseconds - passed, 10), QS_ALLINPUT);
  }
}

bool WaitUntil(const std::function<bool()>& Condition, DWORD TimeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (Condition()) return true;
    if (GetTickCount() - start >= TimeoutMs) return false;
    PumpMessages(10);
  }
}

HWND FindTopLevelWindow(const TWindowQuery& Query) {
  for (HWND wnd : TopLevelWindows())
    if (Fits(wnd, Query)) return wnd;
  return nullptr;
}

HWND WaitForWindow(const TWindowQuery& Query, DWORD TimeoutMs) {
  HWND found = nullptr;
  if (WaitUntil([&] { return (found = FindTopLevelWindow(Query)) != nullptr; }, TimeoutMs)) return found;
  throw EUiDriver("no window of class \"" + Query.ClassName + "\" and caption \"" + Query.Caption + "\" within " +
                  std::to_string(TimeoutMs) + " ms; visible windows:" + VisibleWindowsList());
}

bool WaitForWindowToGo(HWND Window, DWORD TimeoutMs) {
  return WaitUntil([&] { return !IsWindow(Window) || !IsWindowVisible(Window); }, TimeoutMs);
}

std::vector<TControlInfo> ListControls(HWND Window) {
  std::vector<HWND> handles;
  EnumChildWindows(Window, &CollectWindow, reinterpret_cast<LPARAM>(&handles));
  std::vector<TControlInfo> controls;
  for (HWND wnd : handles) {
    TControlInfo info;
    info.Handle = wnd;
    info.ClassName = ClassOf(wnd);
    info.Text = ControlText(wnd);
    info.Id = GetDlgCtrlID(wnd);
    info.Visible = IsWindowVisible(wnd) != FALSE;
    info.Enabled = IsWindowEnabled(wnd) != FALSE;
    GetWindowRect(wnd, &info.Rect);
    controls.push_back(info);
  }
  return controls;
}

std::string MessageBoxText(HWND Box) {
  std::string text;
  for (const TControlInfo& control : ListControls(Box))
    if (SameText(control.ClassName, "Static") && control.Text.size() > text.size()) text = control.Text;
  return text;
}

HWND FindControl(HWND Window, const TControlQuery& Query) {
  std::string caption = WithoutAccelerators(Query.Caption);
  for (const TControlInfo& control : ListControls(Window)) {
    if (!Query.Caption.empty() && WithoutAccelerators(control.Text) != caption) continue;
    if (!Query.ClassName.empty() && !SameText(control.ClassName, Query.ClassName)) continue;
    if (Query.Id && control.Id != *Query.Id) continue;
    return control.Handle;
  }
  return nullptr;
}

HWND RequireControl(HWND Window, const TControlQuery& Query) {
  HWND found = FindControl(Window, Query);
  if (found != nullptr) return found;
  std::string list;
  for (const TControlInfo& control : ListControls(Window))
    list += "\n  " + control.ClassName + " \"" + control.Text + "\" id " + std::to_string(control.Id);
  throw EUiDriver("no control with caption \"" + Query.Caption + "\", class \"" + Query.ClassName + "\"" +
                  (Query.Id ? ", id " + std::to_string(*Query.Id) : std::string()) + " in " + Describe(Window) +
                  "; its controls:" + (list.empty() ? " none" : list));
}

std::string ControlText(HWND Control) {
  // A window that does not answer in time has no text to show.
  DWORD_PTR length = 0, got = 0;
  if (!SendMessageTimeoutA(Control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &length)) return "";
  std::string text(length + 1, '\0');
  if (!SendMessageTimeoutA(Control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kSendTimeout, &got))
    return "";
  text.resize(std::min<std::size_t>(got, length));
  return text;
}

void SetEditText(HWND Edit, const std::string& Text) {
  RequireUsable(Edit, "SetEditText");
  Send(Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  // A single-line edit reports a WM_SETTEXT itself; a multi-line one does not.
  if ((GetWindowLongPtrA(Edit, GWL_STYLE) & ES_MULTILINE) != 0) NotifyParent(Edit, EN_CHANGE);
}

void PressKey(HWND Control, WORD VirtualKey) {
  RequireUsable(Control, "PressKey");
  auto scan = static_cast<LPARAM>(MapVirtualKeyA(VirtualKey, 0)) << 16;
  Deliver(Control, WM_KEYDOWN, VirtualKey, 1 | scan);
  Deliver(Control, WM_KEYUP, VirtualKey, 1 | scan | static_cast<LPARAM>(3) << 30);
}

void Click(HWND Button) {
  RequireUsable(Button, "Click");
  Deliver(Button, BM_CLICK, 0, 0);
}

void ChooseListItem(HWND ListBox, int Index) {
  RequireUsable(ListBox, "ChooseListItem");
  auto count = static_cast<int>(Send(ListBox, LB_GETCOUNT, 0, 0));
  if (Index < 0 || Index >= count)
    throw EUiDriver("ChooseListItem: no line " + std::to_string(Index) + " among " + std::to_string(count));
  Send(ListBox, LB_SETCURSEL, static_cast<WPARAM>(Index), 0);
  NotifyParent(ListBox, LBN_SELCHANGE);
}

void ChooseListItem(HWND ListBox, const std::string& Text) {
  RequireUsable(ListBox, "ChooseListItem");
  auto index = static_cast<int>(
      Send(ListBox, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Text.c_str())));
  if (index == LB_ERR) throw EUiDriver("ChooseListItem: no line \"" + Text + "\"");
  ChooseListItem(ListBox, index);
}

void ChooseComboItem(HWND Combo, int Index) {
  RequireUsable(Combo, "ChooseComboItem");
  auto count = static_cast<int>(Send(Combo, CB_GETCOUNT, 0, 0));
  if (Index < 0 || Index >= count)
    throw EUiDriver("ChooseComboItem: no item " + std::to_string(Index) + " among " + std::to_string(count));
  Send(Combo, CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
  NotifyParent(Combo, CBN_SELCHANGE);
}

void ChooseComboItem(HWND Combo, const std::string& Text) {
  RequireUsable(Combo, "ChooseComboItem");
  auto index = static_cast<int>(
      Send(Combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Text.c_str())));
  if (index == CB_ERR) throw EUiDriver("ChooseComboItem: no item \"" + Text + "\"");
  ChooseComboItem(Combo, index);
}

void ChooseRadioButton(HWND Radio) {
  RequireUsable(Radio, "ChooseRadioButton");
  Click(Radio);
}

void RequestClose(HWND Window) {
  if (Window == nullptr || !IsWindow(Window)) throw EUiDriver("RequestClose: no such window");
  Deliver(Window, WM_CLOSE, 0, 0);
}

TUserThread::TUserThread(std::function<void()> Script)
    : FTestThread(GetCurrentThreadId()), FThread([this, Script = std::move(Script)] { Run(Script); }) {}

TUserThread::~TUserThread() {
  if (FThread.joinable()) FThread.join();
}

void TUserThread::Run(const std::function<void()>& Script) {
  try {
    Script();
    return;
  } catch (const std::exception& e) {
    FFailure = e.what();
  } catch (...) {
    FFailure = "unknown exception";
  }
  if (FFailure.empty()) FFailure = "failed";
  for (HWND wnd : TopLevelWindows())
    if (IsWindowVisible(wnd) && GetWindowThreadProcessId(wnd, nullptr) == FTestThread) {
      // An open pop-up menu holds the test thread until it closes.
      if (ClassOf(wnd) == "#32768") PostMessageA(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageA(wnd, WM_CLOSE, 0, 0);
    }
}

std::string TUserThread::Failure() {
  if (FThread.joinable()) FThread.join();
  return FFailure;
}

// --- pop-up menus ---------------------------------------------------------

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

HMENU MenuOf(HWND Menu) {
  RequireUsable(Menu, "menu");
  auto menu = reinterpret_cast<HMENU>(Send(Menu, kGetMenuHandle, 0, 0));
  if (menu == nullptr) throw EUiDriver("the pop-up menu window tells no menu");
  return menu;
}

std::string WithoutMarks(const std::string& Text) {
  std::string plain;
  for (char c : Text)
    if (c != '&') plain += c;
  return plain;
}

int HighlightedItem(HMENU Menu) {
  for (int i = 0, n = GetMenuItemCount(Menu); i < n; ++i)
    if (GetMenuState(Menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

}  // namespace

HWND WaitForPopupMenu(DWORD TimeoutMs) {
  return WaitForWindow({.ClassName = "#32768", .ProcessId = GetCurrentProcessId()}, TimeoutMs);
}

std::vector<TMenuItemInfo> MenuItems(HWND Menu) {
  HMENU menu = MenuOf(Menu);
  std::vector<TMenuItemInfo> items;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    char text[256] = "";
    if (state & MF_SEPARATOR)
      items.push_back({"-", false});
    else {
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      items.push_back({WithoutMarks(text), (state & (MF_GRAYED | MF_DISABLED)) == 0});
    }
  }
  return items;
}

namespace {
// The underlined letter of a menu item's text ("&Delay": 'd'); 0 without one.
char MnemonicOf(HMENU Menu, int Position) {
  char text[256] = "";
  GetMenuStringA(Menu, static_cast<UINT>(Position), text, sizeof text, MF_BYPOSITION);
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c != '&') continue;
    if (c[1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(c[1])));
    ++c;
  }
  return 0;
}
}  // namespace

void ChooseMenuItem(HWND Menu, const std::string& Caption) {
  HMENU menu = MenuOf(Menu);
  std::vector<TMenuItemInfo> items = MenuItems(Menu);
  int target = -1;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].Caption != "-" && items[i].Caption == WithoutMarks(Caption)) target = static_cast<int>(i);
  if (target < 0) throw EUiDriver("the pop-up menu has no item \"" + Caption + "\"");
  // The user types the item's underlined letter when no other item has it: that chooses
  // the item whatever is highlighted (a pointer event can move the highlight).
  if (const char key = MnemonicOf(menu, target); key != 0 && items[static_cast<size_t>(target)].Enabled) {
    int sharing = 0;
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].Caption != "-" && MnemonicOf(menu, static_cast<int>(i)) == key) ++sharing;
    if (sharing == 1) {
      Deliver(Menu, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(key)), 1);
      return;
    }
  }
  // The highlight must rest on the item a moment before Enter: a late pointer event may
  // still move it.
  for (size_t step = 0;; ++step) {
    if (step > 3 * items.size()) throw EUiDriver("the arrow keys do not reach the menu item \"" + Caption + "\"");
    const int before = HighlightedItem(menu);
    if (before == target) {
      Sleep(30);
      if (HighlightedItem(menu) == target) break;
      continue;
    }
    PressKey(Menu, VK_DOWN);
    WaitUntil([&] { return HighlightedItem(menu) != before; }, 1000);
  }
  PressKey(Menu, VK_RETURN);
}

void DismissMenu(HWND Menu) {
  RequireUsable(Menu, "DismissMenu");
  PressKey(Menu, VK_ESCAPE);
}

}  // namespace testsupport
