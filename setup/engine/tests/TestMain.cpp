// Starts the libraries under test, as the deliverables do, then runs every test.
#include <gtest/gtest.h>

#include "archive/ArchiveStartup.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)),
                                   setup::SupportLibrary(), setup::ArchiveLibrary(), setup::ObjectsLibrary()});
  return RUN_ALL_TESTS();
}
