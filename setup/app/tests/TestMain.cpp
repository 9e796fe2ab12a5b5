// Starts the libraries bramset starts, then runs every test.
#include <gtest/gtest.h>

#include <cstdlib>

#include "MainForm.h"
#include "archive/ArchiveStartup.h"
#include "engine/EngineStartup.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"
#include "wizard/WizardStartup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The engine on the form reads the program's arguments: it gets those the test
  // framework left over (none), not the test switches.
  __argc = argc;
  __argv = argv;
  fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)),
                                   setup::SupportLibrary(), setup::ArchiveLibrary(), setup::ObjectsLibrary(),
                                   setup::EngineLibrary(), setup::WizardLibrary(), setup::AppLibrary()});
  return RUN_ALL_TESTS();
}
