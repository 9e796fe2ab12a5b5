#include "StartedProgram.h"

#include <vector>

namespace restart {

TStartedProgram::TStartedProgram(const std::string& CommandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> command(CommandLine.begin(), CommandLine.end());
  command.push_back('\0');
  // The program and what it starts form a job of their own.
  FJob.Reset(CreateJobObjectA(nullptr, nullptr));
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                      &process))
    throw ERestartPlay("cannot start " + CommandLine + " (error " + std::to_string(GetLastError()) + ")");
  fw::TKernelHandle thread(process.hThread);
  FProcess.Reset(process.hProcess);
  FProcessId = process.dwProcessId;
  if (FJob && !AssignProcessToJobObject(FJob.Get(), FProcess.Get())) FJob.Reset();
  ResumeThread(thread.Get());
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

bool TStartedProgram::WaitForAllToEnd(DWORD TimeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (Running()) {
      if (WaitForSingleObject(FProcess.Get(), 20) == WAIT_TIMEOUT && GetTickCount() - start >= TimeoutMs) return false;
      continue;
    }
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job{};
    if (!FJob || !QueryInformationJobObject(FJob.Get(), JobObjectBasicAccountingInformation, &job, sizeof job, nullptr))
      return false;
    if (job.ActiveProcesses == 0) return true;
    if (GetTickCount() - start >= TimeoutMs) return false;
    Sleep(20);
  }
}

void TStartedProgram::End() {
  if (!Running()) return;
  if (!FJob || !TerminateJobObject(FJob.Get(), 99)) TerminateProcess(FProcess.Get(), 99);
  WaitForSingleObject(FProcess.Get(), 10000);
}

DWORD RunToEnd(const std::string& CommandLine, DWORD TimeoutMs) {
  TStartedProgram program(CommandLine);
  DWORD code = 0;
  if (!program.WaitForEnd(TimeoutMs, code)) throw ERestartPlay(CommandLine + " did not end in time");
  return code;
}

}  // namespace restart
