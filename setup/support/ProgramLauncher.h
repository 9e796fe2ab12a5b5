// Starts an installed program and waits until it is ready for input.
#pragma once

#include <cstdint>
#include <string>

#include "core/Classes.h"

namespace setup {

enum class TplShowMode { smNormal, smMaximized, smMinimized, smHide };
using enum TplShowMode;
const fw::TEnumInfo& ShowModeInfo();
// The show-window value a mode gives the new process (1, 3, 2, 0).
int ShowWindowValue(TplShowMode Mode);

// The text of a launch error code ("Unknown error" for codes without one).
std::string LaunchErrorText(uint32_t Code);
// Raises EProgramLauncherFailed with Code and its text.
[[noreturn]] void RaiseProgramLauncherError(uint32_t Code);

class TProgramLauncher : public fw::TComponent {
  FW_CLASS(TProgramLauncher, fw::TComponent)
 public:
  explicit TProgramLauncher(fw::TComponent* AOwner);

  // Action, StartDir, Timeout and Wait are kept for the forms that set them; Execute
  // always waits without limit in the caller's folder.
  const std::string& Action() const { return FAction; }
  void SetAction(const std::string& Value) { FAction = Value; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  const std::string& Parameters() const { return FParameters; }
  void SetParameters(const std::string& Value) { FParameters = Value; }
  TplShowMode ShowMode() const { return FShowMode; }
  void SetShowMode(TplShowMode Value) { FShowMode = Value; }
  const std::string& StartDir() const { return FStartDir; }
  void SetStartDir(const std::string& Value) { FStartDir = Value; }
  int32_t Timeout() const { return FTimeout; }
  void SetTimeout(int32_t Value) { FTimeout = Value; }
  bool Wait() const { return FWait; }
  void SetWait(bool Value) { FWait = Value; }

  // The command line the program receives: its quoted path, a blank, Parameters.
  std::string CommandLine() const;
  // Starts FileName and waits until it is idle for input. A failed start raises
  // EProgramLauncherFailed with Windows' error code.
  void Execute();

 private:
  std::string FAction = "Open";
  std::string FFileName;
  std::string FParameters;
  TplShowMode FShowMode = smNormal;
  std::string FStartDir;
  int32_t FTimeout = -1;
  bool FWait = true;
};

}  // namespace setup
