#include "StartedProgram.h"

#include <vector>

namespace restart {

TStartedProgram::TStartedProgram(const std::string& CommandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> command(CommandLine.begin(), CommandLine.end());
  command.push_back('\0');
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    throw ERestartPlay("cannot start " + CommandLine + " (error " + std::to_string(GetLastError()) + ")");
  CloseHandle(process.hThread);
  FProcess.Reset(process.hProcess);
  FProcessId = process.dwProcessId;
}

TStartedProgram::~TStartedProgram() {
  End();
}

bool TStartedProgram::Running() const {
  return FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT;
}

bool TStartedProgram::WaitForEnd(DWORD TimeoutMs, DWORD& ExitCode) {
  if (WaitForSingleObject(FProcess.Get(), TimeoutMs) != WAIT_OBJECT_0) return false;
  ExitCode = 0;
  GetExitCodeProcess(FProcess.Get(), &ExitCode);
  return true;
}

void TStartedProgram::End() {
  if (!Running()) return;
  TerminateProcess(FProcess.Get(), 99);
  WaitForSingleObject(FProcess.Get(), 10000);
}

DWORD RunToEnd(const std::string& CommandLine, DWORD TimeoutMs) {
  TStartedProgram program(CommandLine);
  DWORD code = 0;
  if (!program.WaitForEnd(TimeoutMs, code)) throw ERestartPlay(CommandLine + " did not end in time");
  return code;
}

}  // namespace restart
