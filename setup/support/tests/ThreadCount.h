// How many threads this process has: a test compares it before and after, so that a
// thread left running shows.
#pragma once

#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include "gui/WinHandles.h"

inline int ThreadsOfThisProcess() {
  fw::TKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  return count;
}
