// A setup program of the tests: the engine on a small form with one object that leaves
// work for after the reboot. It never reboots: the reboot request writes "reboot.txt"
// into the source folder, and messages go to "host.log" there instead of a message box.
#include <windows.h>

#include <fstream>

#include "../EngineTestObjects.h"
#include "archive/ArchiveStartup.h"
#include "engine/EngineStartup.h"
#include "gui/Forms.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"

namespace setup::testing {

class THostForm : public fw::TForm {
  FW_CLASS(THostForm, fw::TForm)
 public:
  using fw::TForm::TForm;
};

const fw::TClass& THostForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<THostForm>().Creatable();
  return cls;
}

void AppendToHostLog(const std::string& Line) {
  TInstallEngine* engine = GlobalInstall();
  std::string folder = engine != nullptr ? engine->EngineSourceDir() : std::string(".");
  std::ofstream(folder + "\\host.log", std::ios::app | std::ios::binary) << Line << "\n";
}

class THostInstall : public TInstall {
  FW_CLASS(THostInstall, TInstall)
 public:
  using TInstall::TInstall;

 protected:
  void ShowError(const fw::Exception& E) override { AppendToHostLog("error " + E.Message()); }
  void ShowMessage(const std::string& Text) override { AppendToHostLog("message " + Text); }
};

const fw::TClass& THostInstall::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<THostInstall>().Creatable();
  return cls;
}

bool HostReboot() {
  AppendToHostLog("reboot");
  return true;
}

}  // namespace setup::testing

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int) {
  using namespace setup::testing;
  try {
    fw::TStartedLibraries libraries({fw::CoreLibrary(),
                                     fw::GuiLibrary(Instance),
                                     setup::SupportLibrary(),
                                     setup::ArchiveLibrary(),
                                     setup::ObjectsLibrary(),
                                     setup::EngineLibrary(),
                                     {"engine test host",
                                      [] {
                                        RegisterEngineTestClasses();
                                        fw::RegisterClasses({&THostForm::StaticClass(), &THostInstall::StaticClass()});
                                      },
                                      [] { fw::Application->DestroyComponents(); }}});
    setup::SetRebootRequest(HostReboot);
    try {
      fw::Application->CreateForm<THostForm>();
      fw::Application->Run();
    } catch (...) {
      fw::Application->HandleException(fw::Application);
      return 1;
    }
  } catch (const std::exception& e) {
    AppendToHostLog(std::string("start-up failed: ") + e.what());
    return 1;
  }
  return 0;
}
