// The restart of the test prefix as the next start of Windows plays it: Wine's restart
// (wineboot -r) carries out the pending renames and runs the machine's RunOnce commands;
// the RunOnce commands it leaves (the current user's, which the shell runs when the user
// logs on) are then run as the shell runs them: the value is deleted, then its command
// line started.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "RestartState.h"
#include "StartedProgram.h"

namespace restart {

// Runs a command line of the restart to its end, playing the user while it runs (the
// setup's continuation shows a wizard); its exit code.
using TRunCommand = std::function<DWORD(const std::string& CommandLine)>;

struct TRestartReport {
  // RunOnce values of ours (names beginning with the prefix) before the restart, and
  // those Wine's restart ran itself.
  std::vector<TRunOnceEntry> Registered, RanByWine;
  // The commands run after Wine's restart, as the shell runs them, with their exit codes.
  std::vector<std::pair<std::string, DWORD>> RanAfterwards;
};

// Plays the restart: "wineboot.exe -r", then every RunOnce value whose name begins with
// Prefix that is still there, each run by Run (wineboot too: it waits for the machine's
// RunOnce commands). Throws ERestartPlay when a value cannot be deleted.
TRestartReport PlayRestart(const std::string& Prefix, const TRunCommand& Run);

}  // namespace restart
