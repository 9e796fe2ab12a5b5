#include "RestartPlay.h"

#include <algorithm>

namespace restart {

namespace {

bool SameEntry(const TRunOnceEntry& A, const TRunOnceEntry& B) {
  return A.Root == B.Root && lstrcmpiA(A.Name.c_str(), B.Name.c_str()) == 0;
}

bool Contains(const std::vector<TRunOnceEntry>& Entries, const TRunOnceEntry& Entry) {
  return std::any_of(Entries.begin(), Entries.end(), [&](const TRunOnceEntry& e) { return SameEntry(e, Entry); });
}

// The command's exit code, once the user has been played.
DWORD Finish(TStartedProgram& Program, const TWhileRunning& WhileRunning, const std::string& What) {
  WhileRunning(Program);
  DWORD code = 0;
  if (!Program.WaitForEnd(30000, code)) throw ERestartPlay(What + " did not end");
  return code;
}

}  // namespace

void WaitOnly(TStartedProgram& Program, DWORD TimeoutMs) {
  DWORD code = 0;
  Program.WaitForEnd(TimeoutMs, code);
}

TRestartReport PlayRestart(const std::string& Prefix, const TWhileRunning& WhileRunning) {
  TRestartReport report;
  report.Registered = RunOnceEntries(Prefix);
  {
    TStartedProgram wineboot("wineboot.exe -r");
    Finish(wineboot, WhileRunning, "wineboot -r");
  }
  std::vector<TRunOnceEntry> left = RunOnceEntries(Prefix);
  for (const TRunOnceEntry& entry : report.Registered)
    if (!Contains(left, entry)) report.RanByWine.push_back(entry);
  for (const TRunOnceEntry& entry : left) {
    // The shell deletes the value before it runs the command, so a command that fails
    // is not run at every start.
    if (!DeleteRunOnceEntry(entry)) throw ERestartPlay("cannot delete the RunOnce value " + entry.Name);
    TStartedProgram program(entry.Command);
    report.RanAfterwards.emplace_back(entry.Command, Finish(program, WhileRunning, entry.Command));
  }
  return report;
}

}  // namespace restart
