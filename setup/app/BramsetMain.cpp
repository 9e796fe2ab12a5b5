// bramset: the setup program.
#include <windows.h>

#include "MainForm.h"
#include "archive/ArchiveStartup.h"
#include "engine/EngineStartup.h"
#include "engine/Install.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"
#include "wizard/WizardStartup.h"

using namespace fw;

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int) {
  try {
    TStartedLibraries libraries({CoreLibrary(), GuiLibrary(Instance), setup::SupportLibrary(), setup::ArchiveLibrary(),
                                 setup::ObjectsLibrary(), setup::EngineLibrary(), setup::WizardLibrary(),
                                 setup::AppLibrary()});
    try {
      Application->SetTitle("Setup Stavrel 4.0");
      // The engine on the form takes over from its loading on: it hooks the form's first
      // show, or runs the after-reboot continuation or a build while the form loads.
      Application->CreateForm<setup::TMain>();
      Application->Run();
      // The engine tells what the run came to (the form and its engine live until the
      // libraries stop).
      if (auto* install = dynamic_cast<setup::TCustomInstall*>(setup::GlobalInstall())) return install->ExitCode();
    } catch (...) {
      Application->HandleException(Application);
      return setup::ecFailed;
    }
  } catch (const std::exception& e) {
    // A library could not start: there is no application object to show it.
    MessageBoxA(nullptr, e.what(), "Setup Stavrel 4.0", MB_OK | MB_ICONSTOP);
    return setup::ecFailed;
  }
  return 0;
}
