// Programs the road starts as a user would, and the message boxes they show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/WinHandles.h"

namespace road {

// A started program; ended (and waited for) by Finish, or killed when the object goes
// while it still runs.
class TStartedProgram {
 public:
  // CommandLine as Windows parses it (the program first, quoted when it has blanks);
  // the new process inherits this one's environment.
  explicit TStartedProgram(const std::string& CommandLine, const std::string& Folder = std::string());
  ~TStartedProgram();
  TStartedProgram(const TStartedProgram&) = delete;
  TStartedProgram& operator=(const TStartedProgram&) = delete;

  DWORD ProcessId() const { return FProcessId; }
  bool Running() const;
  // Waits for the end; false on time-out. Pumps nothing: the program's windows are
  // another process's.
  bool WaitForEnd(DWORD TimeoutMs);
  DWORD ExitCode() const;

 private:
  fw::TKernelHandle FProcess;
  DWORD FProcessId = 0;
};

// A message box's caption and its text (the static controls' texts joined).
struct TMessageBox {
  HWND Window = nullptr;
  std::string Caption;
  std::string Text;
};

// The visible message boxes (dialog class) of the process.
std::vector<TMessageBox> MessageBoxesOf(DWORD ProcessId);
// Presses the box's button with the caption (accelerator marks ignored).
void AnswerMessageBox(const TMessageBox& Box, const std::string& Button);

// Runs CommandLine to its end; every message box it shows is noted and closed with its
// first button among Buttons. Throws ERoad when it does not end within TimeoutMs.
struct TProgramResult {
  DWORD ExitCode = 0;
  std::vector<TMessageBox> Boxes;
};
TProgramResult RunAnsweringBoxes(const std::string& CommandLine, const std::vector<std::string>& Buttons,
                                 DWORD TimeoutMs);

// The folder of this program, without a trailing backslash.
std::string ProgramFolder();
// A path in double quotes.
std::string Quoted(const std::string& Path);

}  // namespace road
