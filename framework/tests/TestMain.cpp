// Starts the libraries under test, as the deliverables do, then runs every test.
#include <gtest/gtest.h>

#include "gui/GuiStartup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr))});
  return RUN_ALL_TESTS();
}
