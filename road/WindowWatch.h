// The windows that come up on the desktop while the road runs a program: the new visible
// top-level windows of other processes, and whether each is one the road expects.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace road {

struct TShownWindow {
  HWND Handle = nullptr;
  std::string ClassName;
  std::string Caption;
  DWORD ProcessId = 0;
};

class TWindowWatch {
 public:
  // The windows shown now are the desktop's own from here on; ExpectedClasses are the
  // window classes of the program being watched.
  explicit TWindowWatch(std::vector<std::string> ExpectedClasses);

  // The visible top-level windows of other processes that were not there at the start.
  std::vector<TShownWindow> NewWindows() const;
  // The first of them whose class is not expected, or nothing (Handle nil).
  TShownWindow FirstUnexpected() const;
  // A window of the class with the caption, among the new ones; nil when none.
  HWND Find(const std::string& ClassName, const std::string& Caption) const;

  // "class "caption"" with a message box's text, for messages.
  static std::string Describe(const TShownWindow& Window);

 private:
  std::set<HWND> FDesktop;
  std::vector<std::string> FExpected;
};

}  // namespace road
