#include "Startup.h"

#include "TypInfo.h"

namespace fw {

TStartedLibraries::TStartedLibraries(std::vector<TLibrary> Libraries) {
  FStarted.reserve(Libraries.size());
  try {
    for (TLibrary& library : Libraries) {
      if (library.Startup) library.Startup();
      FStarted.push_back(std::move(library));
    }
  } catch (...) {
    ShutdownStarted();
    throw;
  }
}

TStartedLibraries::~TStartedLibraries() {
  ShutdownStarted();
}

void TStartedLibraries::ShutdownStarted() noexcept {
  while (!FStarted.empty()) {
    TLibrary library = std::move(FStarted.back());
    FStarted.pop_back();
    try {
      if (library.Shutdown) library.Shutdown();
    } catch (...) {
    }
  }
}

void TOnDemandLibraries::EnsureStarted() {
  std::lock_guard<std::mutex> guard(FLock);
  if (FStarted == nullptr) FStarted = new TStartedLibraries(FMake());
}

void TOnDemandLibraries::Shutdown() noexcept {
  std::lock_guard<std::mutex> guard(FLock);
  delete FStarted;
  FStarted = nullptr;
}

bool TOnDemandLibraries::Started() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FStarted != nullptr;
}

TLibrary CoreLibrary() {
  return {"framework core", StartClassRegistry, StopClassRegistry};
}

}  // namespace fw
