// Drives windows as a user would, through window messages: finds top-level windows and
// their controls, types into edits, presses buttons, chooses items, reads texts and
// closes windows. Works on windows of the calling thread (waiting pumps its messages),
// of other threads and of other processes.
//
//   HWND form = testsupport::WaitForWindow({.Caption = "Options"});
//   testsupport::SetEditText(testsupport::FindControl(form, {.ClassName = "Edit"}), "C:\\Apps");
//   testsupport::Click(testsupport::FindControl(form, {.Caption = "OK"}));
//
// A modal window shown by the test's own thread blocks that thread: play the user on a
// TUserThread then.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// What the driver raises when a window or control is missing or a user could not act on it.
class EUiDriver : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Empty texts and zero ids match any window.
struct TWindowQuery {
  std::string ClassName;  // compared without regard to case
  std::string Caption;    // the whole caption
  DWORD ProcessId = 0;
  DWORD ThreadId = 0;
};

struct TControlQuery {
  std::string Caption;    // "&" marks of accelerators are ignored on both sides
  std::string ClassName;  // compared without regard to case
  std::optional<int> Id;  // the control id (GetDlgCtrlID)
};

struct TControlInfo {
  HWND Handle = nullptr;
  std::string ClassName;
  std::string Text;
  int Id = 0;
  bool Visible = false;
  bool Enabled = false;
  RECT Rect{};  // on the screen
};

// Handles every message waiting for the calling thread, for at least Milliseconds.
void PumpMessages(DWORD Milliseconds = 0);
// Pumps the calling thread's messages until Condition holds; false when TimeoutMs passed first.
bool WaitUntil(const std::function<bool()>& Condition, DWORD TimeoutMs = 5000);

// The first visible top-level window that fits, or nil.
HWND FindTopLevelWindow(const TWindowQuery& Query);
// Waits for one, pumping the calling thread's messages; throws EUiDriver, naming the
// visible windows there are, when none came in time.
HWND WaitForWindow(const TWindowQuery& Query, DWORD TimeoutMs = 5000);
// Waits until Window is gone or hidden; false on time-out.
bool WaitForWindowToGo(HWND Window, DWORD TimeoutMs = 5000);

// Every control below Window (children's children too), in window order.
std::vector<TControlInfo> ListControls(HWND Window);
// The first control that fits every part of Query given, or nil.
HWND FindControl(HWND Window, const TControlQuery& Query);
// Like FindControl, but throws EUiDriver when there is none.
HWND RequireControl(HWND Window, const TControlQuery& Query);

// A window's text (WM_GETTEXT).
std::string ControlText(HWND Control);
// The message a message box shows: the longest text of its static controls (its icon is
// a static control without text); empty when it has none.
std::string MessageBoxText(HWND Box);

// The actions below throw EUiDriver when the control is missing, hidden or disabled,
// since a user could not act on it then. On the caller's own windows they are done when
// they return. To other threads' windows the messages that follow a text or selection
// change, key presses, clicks and close requests are posted, as a user's input is: they
// take effect, in the order given, when that thread gets to them, so wait for what they
// cause (a modal window opened by a click then never holds the caller).

// Replaces an edit's text (WM_SETTEXT), with the EN_CHANGE that the edit's parent gets
// when a user types.
void SetEditText(HWND Edit, const std::string& Text);
// A key pressed and let go on the control (WM_KEYDOWN, WM_KEYUP).
void PressKey(HWND Control, WORD VirtualKey);
// Presses a button (BM_CLICK).
void Click(HWND Button);
// Selects a list box line and tells the parent (LBN_SELCHANGE).
void ChooseListItem(HWND ListBox, int Index);
void ChooseListItem(HWND ListBox, const std::string& Text);
// Selects a combo box item and tells the parent (CBN_SELCHANGE).
void ChooseComboItem(HWND Combo, int Index);
void ChooseComboItem(HWND Combo, const std::string& Text);
// Clicks a radio button; the button tells its parent itself (BN_CLICKED).
void ChooseRadioButton(HWND Radio);
// Asks the window to close (WM_CLOSE), as its close box does.
void RequestClose(HWND Window);

// Pop-up menus (the window class "#32768").
// Waits for an open pop-up menu and returns its window.
HWND WaitForPopupMenu(DWORD TimeoutMs = 5000);
// The captions of the menu's items as the user reads them ("&" marks removed; "-" for a
// separator), and whether each can be chosen.
struct TMenuItemInfo {
  std::string Caption;
  bool Enabled = false;
};
std::vector<TMenuItemInfo> MenuItems(HWND Menu);
// Types the item's underlined letter when it is the only item with that letter;
// otherwise moves the highlight with the arrow keys to the item and presses Enter.
void ChooseMenuItem(HWND Menu, const std::string& Caption);
// Closes the menu with Escape, choosing nothing.
void DismissMenu(HWND Menu);

// Plays the user on a thread of its own while the test's thread runs a modal window.
// When the script throws, every visible window of the test's thread is asked to close,
// so that its modal loop ends; the failure is then Failure().
class TUserThread {
 public:
  explicit TUserThread(std::function<void()> Script);
  ~TUserThread();
  TUserThread(const TUserThread&) = delete;
  TUserThread& operator=(const TUserThread&) = delete;

  // Waits for the script to end; what it failed with, empty when it ran through.
  std::string Failure();

 private:
  void Run(const std::function<void()>& Script);

  DWORD FTestThread;
  std::string FFailure;
  std::thread FThread;
};

}  // namespace testsupport
