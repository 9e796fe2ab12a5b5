// bramset: the setup program.
#include <windows.h>

#include "MainForm.h"

using namespace fw;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  setup::RegisterSetupClasses();
  try {
    Application->SetTitle("Setup Stavrel 4.0");
    setup::TMain* main = Application->CreateForm<setup::TMain>();
    // Until the install engine hooks the show event, the form is maximised here.
    main->SetWindowState(wsMaximized);
    Application->Run();
  } catch (...) {
    Application->HandleException(Application);
    Application->DestroyComponents();
    return 1;
  }
  // The forms go while every unit's lists still exist, not during static destruction.
  Application->DestroyComponents();
  return 0;
}
