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

// Plays the user while a program of the restart runs (the continuation may show a
// wizard); returns when the program has ended. Given the program started.
using TWhileRunning = std::function<void(TStartedProgram& Program)>;

// Waits for the program to end within TimeoutMs, doing nothing else.
void WaitOnly(TStartedProgram& Program, DWORD TimeoutMs = 60000);

struct TRestartReport {
  // RunOnce values of ours (names beginning with the prefix) before the restart, and
  // those Wine's restart ran itself.
  std::vector<TRunOnceEntry> Registered, RanByWine;
  // The commands run after Wine's restart, as the shell runs them, with their exit codes.
  std::vector<std::pair<std::string, DWORD>> RanAfterwards;
};

// Plays the restart: wineboot -r, then every RunOnce value whose name begins with Prefix
// that is still there. WhileRunning plays the user during each (during wineboot too, which
// waits for the machine's RunOnce commands). Throws ERestartPlay when a program cannot
// start or does not end.
TRestartReport PlayRestart(const std::string& Prefix, const TWhileRunning& WhileRunning);

}  // namespace restart
