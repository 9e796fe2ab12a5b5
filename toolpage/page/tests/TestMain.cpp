// Starts the framework core, the NetWare client and the page's units, as the page does,
// then runs every test.
#include <gtest/gtest.h>

#include "ClientLibraries.h"
#include "PageWaitCursor.h"
#include "core/Startup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries({fw::CoreLibrary(), toolpage::NetWareLibrary(), toolpage::PageLibrary()});
  return RUN_ALL_TESTS();
}
