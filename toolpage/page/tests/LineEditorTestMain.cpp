// Starts the framework with its GUI, the NetWare client, the page's units and the line
// editor's controls, as the page does, then runs every test.
#include <gtest/gtest.h>

#include "ClientLibraries.h"
#include "LineEditorStartup.h"
#include "PageWaitCursor.h"
#include "core/Startup.h"
#include "gui/GuiStartup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)),
                                   toolpage::NetWareLibrary(), toolpage::PageLibrary(), toolpage::LineEditorLibrary()});
  return RUN_ALL_TESTS();
}
