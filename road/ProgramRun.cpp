#include "ProgramRun.h"

#include <algorithm>

#include "RoadReport.h"
#include "UiDriver.h"

namespace road {

namespace {

struct TBoxSearch {
  DWORD ProcessId;
  std::vector<TMessageBox> Boxes;
};

BOOL CALLBACK NoteMessageBox(HWND Window, LPARAM Data) {
  auto& search = *reinterpret_cast<TBoxSearch*>(Data);
  DWORD owner = 0;
  GetWindowThreadProcessId(Window, &owner);
  char className[64] = "";
  GetClassNameA(Window, className, sizeof className);
  if (owner != search.ProcessId || !IsWindowVisible(Window) || std::string(className) != "#32770") return TRUE;
  TMessageBox box{Window, testsupport::ControlText(Window), ""};
  for (const testsupport::TControlInfo& control : testsupport::ListControls(Window))
    if (_stricmp(control.ClassName.c_str(), "Static") == 0 && !control.Text.empty())
      box.Text += (box.Text.empty() ? "" : " ") + control.Text;
  search.Boxes.push_back(box);
  return TRUE;
}

}  // namespace

std::vector<TMessageBox> MessageBoxesOf(DWORD ProcessId) {
  TBoxSearch search{ProcessId, {}};
  EnumWindows(NoteMessageBox, reinterpret_cast<LPARAM>(&search));
  return search.Boxes;
}

void AnswerMessageBox(const TMessageBox& Box, const std::string& Button) {
  testsupport::Click(testsupport::RequireControl(Box.Window, {.Caption = Button, .ClassName = "Button"}));
}

TProgramResult RunAnsweringBoxes(const std::string& CommandLine, const std::vector<std::string>& Buttons,
                                 DWORD TimeoutMs) {
  TStartedProgram program(CommandLine);
  TProgramResult result;
  const DWORD start = GetTickCount();
  std::vector<HWND> answered;
  while (!program.WaitForEnd(20, result.ExitCode)) {
    if (GetTickCount() - start > TimeoutMs) throw ERoad(CommandLine + " did not end within its time");
    for (const TMessageBox& box : MessageBoxesOf(program.ProcessId())) {
      if (std::find(answered.begin(), answered.end(), box.Window) != answered.end()) continue;
      for (const std::string& button : Buttons)
        if (testsupport::FindControl(box.Window, {.Caption = button, .ClassName = "Button"}) != nullptr) {
          result.Boxes.push_back(box);
          answered.push_back(box.Window);
          AnswerMessageBox(box, button);
          break;
        }
    }
  }
  return result;
}

std::string Quoted(const std::string& Path) {
  return "\"" + Path + "\"";
}

}  // namespace road
