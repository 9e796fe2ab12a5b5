// Scratch folders, tree removal and whole-file reading and writing.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "ScratchFiles.h"

using namespace benchsupport;

namespace {

TEST(ScratchFolder, EachIsNewAndEmptyAndGoesWithEverythingInIt) {
  std::string kept;
  {
    TScratchFolder first("scratch"), second("scratch");
    kept = first.Path();
    EXPECT_NE(first.Path(), second.Path());
    EXPECT_TRUE(FolderExists(first.Path()));
    EXPECT_NE(first.Path().find("scratch-" + std::to_string(GetCurrentProcessId()) + "-"), std::string::npos);
    EXPECT_EQ(first / "a.txt", first.Path() + "\\a.txt");
    WriteFile(first / "deep\\er\\a.txt", "x");
    SetFileAttributesA((first / "deep\\er\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  EXPECT_FALSE(FolderExists(kept));
}

TEST(RemoveTree, TakesFoldersFilesAndReadOnlyOnes) {
  TScratchFolder scratch;
  std::string root = scratch / "tree";
  WriteFile(root + "\\one.txt", "1");
  WriteFile(root + "\\sub\\two.txt", "2");
  WriteFile(root + "\\sub\\deeper\\three.txt", "3");
  CreateDirectoryA((root + "\\empty").c_str(), nullptr);
  SetFileAttributesA((root + "\\sub\\two.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((root + "\\sub\\deeper").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(RemoveTree(root));
  EXPECT_FALSE(FolderExists(root));
  EXPECT_TRUE(FolderExists(scratch.Path()));  // only what was named goes

  WriteFile(scratch / "single.txt", "s");
  EXPECT_TRUE(RemoveTree(scratch / "single.txt"));
  EXPECT_FALSE(FileExists(scratch / "single.txt"));
  EXPECT_TRUE(RemoveTree(scratch / "never-there"));
}

TEST(RemoveTree, ReportsWhatItCouldNotRemove) {
  TScratchFolder scratch;
  WriteFile(scratch / "held\\open.txt", "busy");
  HANDLE held = CreateFileA((scratch / "held\\open.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(RemoveTree(scratch / "held"));
  CloseHandle(held);
  EXPECT_TRUE(RemoveTree(scratch / "held"));
}

TEST(WholeFiles, BytesComeBackAsWrittenAndMissingFilesAreErrors) {
  TScratchFolder scratch;
  std::string bytes("line\r\nzero\0byte\n\xFF", 17);
  WriteFile(scratch / "made\\on\\the\\way.bin", bytes);
  EXPECT_EQ(ReadFile(scratch / "made\\on\\the\\way.bin"), bytes);
  WriteFile(scratch / "made\\on\\the\\way.bin", "short");  // replaced, not appended to
  EXPECT_EQ(ReadFile(scratch / "made\\on\\the\\way.bin"), "short");
  WriteFile(scratch / "empty", "");
  EXPECT_EQ(ReadFile(scratch / "empty"), "");
  EXPECT_TRUE(FileExists(scratch / "empty"));
  EXPECT_FALSE(FolderExists(scratch / "empty"));
  EXPECT_FALSE(FileExists(scratch.Path()));
  EXPECT_THROW(ReadFile(scratch / "missing"), std::runtime_error);
  EXPECT_THROW(WriteFile(scratch / "empty\\below-a-file", "x"), std::runtime_error);
}

}  // namespace
