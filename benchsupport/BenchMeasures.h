// What the benchmark programs measure with: a clock in seconds, the peak working set, the
// median of rounds and their figures, and a failure that ends the program with its reason.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

// The middle one of the rounds' times.
inline double Median(std::vector<double> Times) {
  std::sort(Times.begin(), Times.end());
  return Times[Times.size() / 2];
}

// " (a, b, c)": each round's time, in seconds.
inline std::string Rounds(const std::vector<double>& Times) {
  std::string text = " (";
  char figure[32];
  for (size_t i = 0; i < Times.size(); ++i) {
    std::snprintf(figure, sizeof figure, i == 0 ? "%.3f" : ", %.3f", Times[i]);
    text += figure;
  }
  return text + ")";
}

[[noreturn]] inline void Fail(const char* What) {
  std::fprintf(stderr, "benchmark failed: %s\n", What);
  std::exit(1);
}

}  // namespace benchsupport
