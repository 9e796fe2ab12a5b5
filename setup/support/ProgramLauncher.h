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

  std::string Action = "Open";
  std::string FileName;
  std::string Parameters;
  TplShowMode ShowMode = smNormal;
  std::string StartDir;
  int32_t Timeout = -1;
  bool Wait = true;

  // The command line the program receives: its quoted path, a blank, Parameters.
  std::string CommandLine() const;
  // Starts FileName and waits until it is idle for input. A failed start raises
  // EProgramLauncherFailed with Windows' error code.
  void Execute();
};

}  // namespace setup
