// bramset: the setup program.
#include <windows.h>

#include "MainForm.h"
#include "archive/ArchiveStartup.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"
#include "wizard/WizardStartup.h"

using namespace fw;

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int) {
  try {
    TStartedLibraries libraries({CoreLibrary(), GuiLibrary(Instance), setup::SupportLibrary(), setup::ArchiveLibrary(),
                                 setup::ObjectsLibrary(), setup::WizardLibrary(), setup::AppLibrary()});
    try {
      Application->SetTitle("Setup Stavrel 4.0");
      setup::TMain* main = Application->CreateForm<setup::TMain>();
      // Until the install engine hooks the show event, the form is maximised here.
      main->SetWindowState(wsMaximized);
      Application->Run();
    } catch (...) {
      Application->HandleException(Application);
      return 1;
    }
  } catch (const std::exception& e) {
    // A library could not start: there is no application object to show it.
    MessageBoxA(nullptr, e.what(), "Setup Stavrel 4.0", MB_OK | MB_ICONSTOP);
    return 1;
  }
  return 0;
}
