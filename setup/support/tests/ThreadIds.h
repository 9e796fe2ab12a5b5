// The threads of this process by id: a test takes them before and compares after, so that
// a thread left running shows (threads that ended meanwhile do not count).
#pragma once

#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "gui/WinHandles.h"

inline std::set<DWORD> ThreadsOfThisProcess() {
  fw::TKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  std::set<DWORD> ids;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
  return ids;
}

// The threads that run now and did not run at Before.
inline std::set<DWORD> ThreadsStartedSince(const std::set<DWORD>& Before) {
  std::set<DWORD> now = ThreadsOfThisProcess(), started;
  std::set_difference(now.begin(), now.end(), Before.begin(), Before.end(), std::inserter(started, started.end()));
  return started;
}
