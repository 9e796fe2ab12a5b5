// What the benchmark programs measure with: a clock in seconds, the peak working set, and
// a failure that ends the program with its reason.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace benchsupport {

inline double Now() {
  LARGE_INTEGER frequency, ticks;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&ticks);
  return static_cast<double>(ticks.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Peak working set in MiB, through kernel32's K32GetProcessMemoryInfo where present; -1
// where it is not.
inline double PeakMiB() {
  struct Counters {
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize, WorkingSetSize, QuotaPeakPagedPoolUsage, QuotaPagedPoolUsage, QuotaPeakNonPagedPoolUsage,
        QuotaNonPagedPoolUsage, PagefileUsage, PeakPagefileUsage;
  } counters{};
  counters.cb = sizeof counters;
  using Fn = BOOL(WINAPI*)(HANDLE, Counters*, DWORD);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
  if (fn == nullptr || !fn(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
}

[[noreturn]] inline void Fail(const char* What) {
  std::fprintf(stderr, "benchmark failed: %s\n", What);
  std::exit(1);
}

}  // namespace benchsupport
