#include "ProgramLauncher.h"

#include <windows.h>

#include <vector>

#include "Errors.h"
#include "core/ClassDef.h"
#include "gui/WinHandles.h"

namespace setup {

const fw::TEnumInfo& ShowModeInfo() {
  static const fw::TEnumInfo info{"TplShowMode", {"smNormal", "smMaximized", "smMinimized", "smHide"}};
  return info;
}

int ShowWindowValue(TplShowMode Mode) {
  switch (Mode) {
    case smNormal:
      return SW_SHOWNORMAL;
    case smMaximized:
      return SW_SHOWMAXIMIZED;
    case smMinimized:
      return SW_SHOWMINIMIZED;
    case smHide:
      return SW_HIDE;
  }
  return SW_SHOWNORMAL;
}

std::string LaunchErrorText(uint32_t Code) {
  switch (Code) {
    case 0:
    case 8:
      return "Out of memory";
    case 2:
      return "File not found";
    case 3:
      return "Path not found";
    case 5:
      return "Sharing violation";
    case 6:
      return "Library/Segment error";
    case 10:
      return "Incorrect version of windows";
    case 11:
      return "Invalid file";
    case 12:
    case 13:
      return "Invalid DOS version";
    case 14:
    case 31:
      return "File type has no association";
    case 15:
      return "Cannot load a Real-mode application";
    case 16:
      return "Invalid attempt to launch second instance";
    case 19:
      return "Cannot load a compressed executable file";
    case 20:
      return "Invalid dynamic link library";
    case 21:
      return "Application requires Win32";
    default:
      return "Unknown error";
  }
}

void RaiseProgramLauncherError(uint32_t Code) {
  throw EProgramLauncherFailed(LaunchErrorText(Code), Code);
}

const fw::TClass& TProgramLauncher::StaticClass() {
  using T = TProgramLauncher;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .String("Action", &T::Action, &T::SetAction)
                                    .String("FileName", &T::FileName, &T::SetFileName)
                                    .String("Parameters", &T::Parameters, &T::SetParameters)
                                    .Enum("ShowMode", ShowModeInfo(), &T::ShowMode, &T::SetShowMode)
                                    .String("StartDir", &T::StartDir, &T::SetStartDir)
                                    .Integer("Timeout", &T::Timeout, &T::SetTimeout)
                                    .Boolean("Wait", &T::Wait, &T::SetWait);
  return cls;
}

TProgramLauncher::TProgramLauncher(fw::TComponent* AOwner) : fw::TComponent(AOwner) {}

std::string TProgramLauncher::CommandLine() const {
  return "\"" + FFileName + "\" " + FParameters;
}

void TProgramLauncher::Execute() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
  startup.wShowWindow = static_cast<WORD>(ShowWindowValue(FShowMode));
  std::string line = CommandLine();
  std::vector<char> commandLine(line.begin(), line.end());
  commandLine.push_back('\0');
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(FFileName.c_str(), commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                      nullptr, &startup, &process))
    RaiseProgramLauncherError(GetLastError());
  fw::TKernelHandle processHandle(process.hProcess);
  fw::TKernelHandle threadHandle(process.hThread);
  WaitForInputIdle(processHandle.Get(), INFINITE);
}

}  // namespace setup
