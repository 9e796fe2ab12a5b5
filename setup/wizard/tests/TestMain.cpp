// Starts the libraries under test, as the deliverables do, registers the tests' own
// forms, then runs every test.
#include <gtest/gtest.h>

#include "WizardTestSupport.h"
#include "archive/ArchiveStartup.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"
#include "wizard/WizardStartup.h"

namespace setup::testing {
void RegisterTestForms();
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)),
                                   setup::SupportLibrary(), setup::ArchiveLibrary(), setup::ObjectsLibrary(),
                                   setup::WizardLibrary()});
  setup::testing::RegisterTestForms();
  return RUN_ALL_TESTS();
}
