// Every library of the system has one explicit start-up (it registers the classes that
// form resources may name and creates the lists it keeps) and one shut-down (it frees
// them). Nothing of that runs in static constructors: the deliverable's entry starts its
// libraries in dependency order and shuts them down in reverse.
//
//   fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(Instance), ...});
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace fw {

struct TLibrary {
  std::string Name;
  std::function<void()> Startup;
  std::function<void()> Shutdown;
};

// Starts the libraries in the order given. When a start-up raises, the libraries already
// started are shut down again and the exception passes on. The destructor shuts them
// down in reverse order; a shut-down that raises does not keep the others from running.
class TStartedLibraries {
 public:
  explicit TStartedLibraries(std::vector<TLibrary> Libraries);
  ~TStartedLibraries();
  TStartedLibraries(const TStartedLibraries&) = delete;
  TStartedLibraries& operator=(const TStartedLibraries&) = delete;

 private:
  void ShutdownStarted() noexcept;
  std::vector<TLibrary> FStarted;
};

// A DLL's libraries: nothing heavy may run under the loader lock, so they start on the
// first call into the DLL and shut down when the DLL is about to be released (for a COM
// server: when DllCanUnloadNow is about to answer yes). A namespace-scope instance only
// keeps the function that lists the libraries until the first call.
class TOnDemandLibraries {
 public:
  using TMakeLibraries = std::vector<TLibrary> (*)();
  explicit TOnDemandLibraries(TMakeLibraries Make) : FMake(Make) {}
  TOnDemandLibraries(const TOnDemandLibraries&) = delete;
  TOnDemandLibraries& operator=(const TOnDemandLibraries&) = delete;

  // Starts the libraries unless they run; raises what a start-up raised.
  void EnsureStarted();
  void Shutdown() noexcept;
  bool Started() const;

 private:
  TMakeLibraries FMake;
  mutable std::mutex FLock;
  TStartedLibraries* FStarted = nullptr;
};

// The framework's portable core: the class registry.
TLibrary CoreLibrary();

}  // namespace fw
