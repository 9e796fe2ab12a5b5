// Programs the road starts as a user would, and the message boxes they show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "StartedProgram.h"

namespace road {

// The programs the road starts are ended with what they started when it leaves them
// running.
using restart::TStartedProgram;

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

// A path in double quotes.
std::string Quoted(const std::string& Path);

}  // namespace road
