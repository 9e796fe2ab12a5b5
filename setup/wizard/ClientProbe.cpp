#include "ClientProbe.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "gui/WinHandles.h"

namespace setup {

namespace {

using TClientInit = uint32_t(WINAPI*)(uint32_t, uint32_t);
constexpr WORD kClientInitOrdinal = 377;

struct TProbeState {
  std::string LibraryName = "CALWIN32.DLL";
  std::optional<bool> Answer;
};

TProbeState& ProbeState() {
  static TProbeState state;
  return state;
}

// Loads the library without the system's box for a missing file.
HMODULE LoadQuietly(const std::string& LibraryName) {
  UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(LibraryName.c_str());
  SetErrorMode(previous);
  return module;
}

}  // namespace

bool ProbeClient32(const std::string& LibraryName) {
  try {
    fw::TModuleHandle library(LoadQuietly(LibraryName));
    if (!library) return false;
    auto init = reinterpret_cast<TClientInit>(
        reinterpret_cast<void*>(GetProcAddress(library.Get(), MAKEINTRESOURCEA(kClientInitOrdinal))));
    return init != nullptr && init(0, 0) == 0;
  } catch (...) {
    return false;
  }
}

bool IsClient32Installed() {
  TProbeState& state = ProbeState();
  if (!state.Answer) state.Answer = ProbeClient32(state.LibraryName);
  return *state.Answer;
}

void ResetClient32Probe(const std::string& LibraryName) {
  TProbeState& state = ProbeState();
  state.LibraryName = LibraryName;
  state.Answer.reset();
}

}  // namespace setup
