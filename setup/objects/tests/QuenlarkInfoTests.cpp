#include <gtest/gtest.h>
#include <windows.h>

#include "Files.h"
#include "RegistrySnapshot.h"
#include "objects/QuenlarkInfo.h"
#include "support/Registry.h"

using namespace setup;

namespace {

class LibraryDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(Root.c_str(), nullptr);
    CreateDirectoryA((Root + "\\Lib").c_str(), nullptr);
    CreateDirectoryA((Root + "\\Other").c_str(), nullptr);
  }
  void SetSearchPath(const std::string& Path) {
    WriteRegString(hkCurrentUser, QuenlarkInfo::kSearchPathKey, QuenlarkInfo::kSearchPathValue, Path);
  }
  // The registry as it was comes back, and the folders go, when the test ends.
  testsupport::TSavedRegistryTree SavedPath{HKEY_CURRENT_USER, QuenlarkInfo::kSearchPathKey};
  testsupport::TSavedRegistryTree SavedRoot{HKEY_LOCAL_MACHINE, QuenlarkInfo::kRootFolderKey};
  testsupport::TScratchFolder Scratch{"quenlark-root"};
  const std::string Root = Scratch.Path();
};

TEST_F(LibraryDirectory, TheFirstFolderWithTheMarkerWins) {
  WriteRegString(hkLocalMachine, QuenlarkInfo::kRootFolderKey, QuenlarkInfo::kRootFolderValue, Root + "\\");
  testsupport::WriteFile(Root + "\\Lib\\Quenlark.txt", "marker");
  SetSearchPath("$(ROOT)\\Other; ;$(quenlark)\\Lib\\;" + Root);
  EXPECT_EQ(QuenlarkInfo::GetLibraryDirectory(true), Root + "\\Lib");
  SetSearchPath("$(ROOT)\\Other");
  EXPECT_EQ(QuenlarkInfo::GetLibraryDirectory(false), "");
  try {
    QuenlarkInfo::GetLibraryDirectory(true);
    ADD_FAILURE();
  } catch (const IENoQuenlarkPath& e) {
    EXPECT_STREQ(e.what(), "Cannot find the the Quenlark directory on the VCL library search path");
  }
  SetSearchPath("  ");
  EXPECT_THROW(QuenlarkInfo::GetLibraryDirectory(true), IENoQuenlarkPath);
}

}  // namespace
