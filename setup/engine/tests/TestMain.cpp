// Starts the libraries the engine needs, as bramset does, then runs every test.
#include <gtest/gtest.h>

#include "EngineTestObjects.h"
#include "archive/ArchiveStartup.h"
#include "engine/EngineStartup.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries({fw::CoreLibrary(),
                                   fw::GuiLibrary(GetModuleHandleA(nullptr)),
                                   setup::SupportLibrary(),
                                   setup::ArchiveLibrary(),
                                   setup::ObjectsLibrary(),
                                   setup::EngineLibrary(),
                                   {"engine tests", setup::testing::RegisterEngineTestClasses, [] {}}});
  return RUN_ALL_TESTS();
}
