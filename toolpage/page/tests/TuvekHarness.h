// What the tests of the page library share: the library registered with regsvr32 for the
// program's run (the registry put back afterwards), the tools folder and key, a simulated
// server reachable through its UNC path, and the page hosted in a console window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ConsoleHost.h"
#include "RegistrySnapshot.h"
#include "SimServer.h"

namespace tuvektest {

extern const char* const kPageClassKey;  // CLSID\{...} under HKEY_CLASSES_ROOT
std::string LibraryPath();
const CLSID& PageClassId();

// The page's registration, the tool interfaces' and the tools key, saved and put back.
class TSavedPageRegistry {
 public:
  TSavedPageRegistry();

 private:
  std::vector<std::unique_ptr<testsupport::TSavedRegistryTree>> FTrees;
};

// A server of version Version (312, 411...) named for these tests, whose names travel in
// OEM characters; its SYS:SYSTEM holds
// the base modules, and TUVEK.NLM only when WithTool. Extra lines go into its configuration.
std::unique_ptr<nwtest::TSimServer> MakeServer(int Version, bool WithTool, const std::vector<std::string>& Extra = {});
// The lines the server's console ran.
std::vector<std::string> ConsoleLines(const nwtest::TSimServer& Server);

// A tools folder holding TUVEK.NLM and DOWN.OKS, written to the tools key.
class TToolsFolder {
 public:
  TToolsFolder();
  ~TToolsFolder();
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

// The control's windows by what they show.
bool IsShown(HWND Window);
HWND PageButton(consolehost::TConsoleHost& Host, const std::string& Caption);
enum class TShownSheet { Install, Control, TooOld, None };
TShownSheet ShownSheet(consolehost::TConsoleHost& Host);

}  // namespace tuvektest
