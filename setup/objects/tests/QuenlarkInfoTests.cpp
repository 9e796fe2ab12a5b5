#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "objects/QuenlarkInfo.h"
#include "support/Registry.h"

using namespace setup;

namespace {

class LibraryDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    FSavedPath = ReadRegString(hkCurrentUser, QuenlarkInfo::kSearchPathKey, QuenlarkInfo::kSearchPathValue, "");
    FSavedRoot = ReadRegString(hkLocalMachine, QuenlarkInfo::kRootFolderKey, QuenlarkInfo::kRootFolderValue, "");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Root = std::string(temp) + "quenlark-root-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(Root.c_str(), nullptr);
    CreateDirectoryA((Root + "\\Lib").c_str(), nullptr);
    CreateDirectoryA((Root + "\\Other").c_str(), nullptr);
  }
  void TearDown() override {
    WriteRegString(hkCurrentUser, QuenlarkInfo::kSearchPathKey, QuenlarkInfo::kSearchPathValue, FSavedPath);
    WriteRegString(hkLocalMachine, QuenlarkInfo::kRootFolderKey, QuenlarkInfo::kRootFolderValue, FSavedRoot);
    DeleteFileA((Root + "\\Lib\\Quenlark.txt").c_str());
    RemoveDirectoryA((Root + "\\Lib").c_str());
    RemoveDirectoryA((Root + "\\Other").c_str());
    RemoveDirectoryA(Root.c_str());
  }
  void SetSearchPath(const std::string& Path) {
    WriteRegString(hkCurrentUser, QuenlarkInfo::kSearchPathKey, QuenlarkInfo::kSearchPathValue, Path);
  }
  std::string Root;

 private:
  std::string FSavedPath, FSavedRoot;
};

TEST_F(LibraryDirectory, TheFirstFolderWithTheMarkerWins) {
  WriteRegString(hkLocalMachine, QuenlarkInfo::kRootFolderKey, QuenlarkInfo::kRootFolderValue, Root + "\\");
  std::ofstream(Root + "\\Lib\\Quenlark.txt") << "marker";
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
