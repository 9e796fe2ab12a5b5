// The least console that hosts a tool page as the product's console does: it registers
// the page library, writes the tools key, creates the page's control through COM, puts it
// into a window of its own (Wine's atl "AtlAxWin" hosting), listens to its events and
// hands it a connection reference.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vx4.h"

namespace consolehost {

// "regsvr32 /s" (Unregister: "/u /s") on the library; the program's exit code, -1 when it
// could not be started.
int RunRegsvr32(const std::string& LibraryPath, bool Unregister);

// HKEY_LOCAL_MACHINE "Software\Kavel\Stavrel\Tools\Tuvek": Descr, Key (the class without
// braces) and Path (the tools folder). Raises std::runtime_error on failure.
void WriteToolsKey(const std::string& ToolsFolder);
void DeleteToolsKey();
// The page's class from the tools key, with braces; empty without the key.
std::string ToolClassFromKey();

class TEventSink;

class TConsoleHost {
 public:
  TConsoleHost();
  ~TConsoleHost();
  TConsoleHost(const TConsoleHost&) = delete;
  TConsoleHost& operator=(const TConsoleHost&) = delete;

  // The reference the host gives when the page asks for a connection (event 1).
  uint32_t ConnRef = 0;
  // Creates the control of the class (CoCreateInstance), shows the host window and hosts
  // the control in it, and connects the event sink. Raises std::runtime_error on failure.
  void Open(const CLSID& ClassId, int Width = 511, int Height = 400);
  // Unhooks the sink, releases the control and destroys the window. KeepListening: the
  // control goes while its events still reach the host (a console that does not unhook).
  void Close(bool KeepListening = false);

  IToolPage* Page() const { return FPage.Get(); }
  HWND Window() const { return FWindow; }
  HWND HostWindow() const { return FHostWindow; }
  // The control's own window inside the host window, or nil.
  HWND PageWindow() const;

  // Events heard so far: 1 asked for a connection, 3 edit state (its argument kept); after
  // Close, the edit states heard until then.
  int ConnectionRequests() const;
  const std::vector<bool>& EditStates() const;

 private:
  HWND FWindow = nullptr;      // the console's frame
  HWND FHostWindow = nullptr;  // the AtlAxWin child holding the control
  Microsoft::WRL::ComPtr<IToolPage> FPage;
  TEventSink* FSink = nullptr;
  std::vector<bool> FLastEditStates;
  DWORD FCookie = 0;
};

}  // namespace consolehost
