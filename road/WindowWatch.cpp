#include "WindowWatch.h"

#include "UiDriver.h"

namespace road {

namespace {

BOOL CALLBACK NoteShownWindow(HWND Window, LPARAM Data) {
  if (!IsWindowVisible(Window)) return TRUE;
  TShownWindow shown;
  shown.Handle = Window;
  GetWindowThreadProcessId(Window, &shown.ProcessId);
  if (shown.ProcessId == GetCurrentProcessId()) return TRUE;
  // A window that went while the list was read (a box closing) has no class any more.
  char className[128] = "";
  if (GetClassNameA(Window, className, sizeof className) == 0) return TRUE;
  shown.ClassName = className;
  shown.Caption = testsupport::ControlText(Window);
  reinterpret_cast<std::vector<TShownWindow>*>(Data)->push_back(shown);
  return TRUE;
}

std::vector<TShownWindow> VisibleTopLevelWindows() {
  std::vector<TShownWindow> windows;
  EnumWindows(NoteShownWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

TWindowWatch::TWindowWatch(std::vector<std::string> ExpectedClasses) : FExpected(std::move(ExpectedClasses)) {
  for (const TShownWindow& window : VisibleTopLevelWindows()) FDesktop.insert(window.Handle);
}

std::vector<TShownWindow> TWindowWatch::NewWindows() const {
  std::vector<TShownWindow> windows;
  for (const TShownWindow& window : VisibleTopLevelWindows())
    if (FDesktop.count(window.Handle) == 0) windows.push_back(window);
  return windows;
}

TShownWindow TWindowWatch::FirstUnexpected() const {
  for (const TShownWindow& window : NewWindows()) {
    bool expected = false;
    for (const std::string& name : FExpected)
      expected = expected || _stricmp(name.c_str(), window.ClassName.c_str()) == 0;
    if (!expected) return window;
  }
  return {};
}

HWND TWindowWatch::Find(const std::string& ClassName, const std::string& Caption) const {
  for (const TShownWindow& window : NewWindows())
    if (_stricmp(window.ClassName.c_str(), ClassName.c_str()) == 0 && window.Caption == Caption) return window.Handle;
  return nullptr;
}

std::string TWindowWatch::Describe(const TShownWindow& Window) {
  std::string text = Window.ClassName + " \"" + Window.Caption + "\"";
  for (const testsupport::TControlInfo& control : testsupport::ListControls(Window.Handle))
    if (_stricmp(control.ClassName.c_str(), "Static") == 0 && !control.Text.empty()) text += ": " + control.Text;
  return text;
}

}  // namespace road
