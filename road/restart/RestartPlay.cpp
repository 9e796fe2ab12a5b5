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

}  // namespace

TRestartReport PlayRestart(const std::string& Prefix, const TRunCommand& Run) {
  TRestartReport report;
  report.Registered = RunOnceEntries(Prefix);
  Run("wineboot.exe -r");
  std::vector<TRunOnceEntry> left = RunOnceEntries(Prefix);
  for (const TRunOnceEntry& entry : report.Registered)
    if (!Contains(left, entry)) report.RanByWine.push_back(entry);
  for (const TRunOnceEntry& entry : left) {
    // The shell deletes the value before it runs the command, so a command that fails
    // is not run at every start.
    if (!DeleteRunOnceEntry(entry)) throw ERestartPlay("cannot delete the RunOnce value " + entry.Name);
    report.RanAfterwards.emplace_back(entry.Command, Run(entry.Command));
  }
  return report;
}

}  // namespace restart
