// The tool page library as its host meets it: through regsvr32, COM and a host window.
// The library starts its own units; this program only initialises OLE, as a host does.
#include <gtest/gtest.h>
#include <ole2.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  int result = RUN_ALL_TESTS();
  CoFreeUnusedLibraries();
  OleUninitialize();
  return result;
}
