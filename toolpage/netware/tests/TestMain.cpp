// Starts the framework core, as the page does, then runs every test.
#include <gtest/gtest.h>

#include "core/Startup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fw::TStartedLibraries libraries({fw::CoreLibrary()});
  return RUN_ALL_TESTS();
}
