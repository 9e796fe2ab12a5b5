// Starts the libraries under test, as the deliverables do, then runs every test.
#include <gtest/gtest.h>

#include "gui/GuiStartup.h"
#include "wizard/WizardStartup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries(
      {fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)), setup::WizardLibrary()});
  return RUN_ALL_TESTS();
}
