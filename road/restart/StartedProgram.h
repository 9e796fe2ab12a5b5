// A program a test starts and owns: it is waited for, and ended with every program it
// started when the test leaves it running (a failed check, an exception), so that
// nothing of the test outlives it. What it leaves behind after a good end (a batch
// file that waits for it to end) goes on running.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "gui/WinHandles.h"

namespace restart {

// What the restart's helpers raise when Windows refuses a step.
class ERestartPlay : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TStartedProgram {
 public:
  // Starts CommandLine as given (the first argument names the program, as the shell
  // runs a command line); throws ERestartPlay when it cannot start.
  explicit TStartedProgram(const std::string& CommandLine);
  // Ends the program when it is still running.
  ~TStartedProgram();
  TStartedProgram(const TStartedProgram&) = delete;
  TStartedProgram& operator=(const TStartedProgram&) = delete;

  DWORD ProcessId() const { return FProcessId; }
  bool Running() const;
  // Waits until the program has ended; its exit code, or nothing when TimeoutMs passed
  // first (the program then goes on running).
  bool WaitForEnd(DWORD TimeoutMs, DWORD& ExitCode);
  // Waits until the program and every program it started (what it left running after
  // its end, such as a clean-up batch file) have ended; false when TimeoutMs passed
  // first, or when the programs it started cannot be followed.
  bool WaitForAllToEnd(DWORD TimeoutMs);
  // Ends the program and the programs it started (when it is still running) and waits
  // for it.
  void End();

 private:
  fw::TKernelHandle FJob, FProcess;
  DWORD FProcessId = 0;
};

// Runs CommandLine to its end; its exit code. Throws ERestartPlay when it cannot start
// or does not end within TimeoutMs (it is ended then).
DWORD RunToEnd(const std::string& CommandLine, DWORD TimeoutMs);

}  // namespace restart
