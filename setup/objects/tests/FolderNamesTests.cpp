#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "objects/FolderNames.h"

using namespace setup;
using namespace setup::testing;

TEST(FolderNames, ListsEachFolderOnceWithoutCaseAndWithShortNames) {
  TScratchFolder scratch("names");
  WriteFile(scratch / "Long File Name.text", "x");
  std::string sub = scratch.Folder("Sub");
  TFolderNames names;
  EXPECT_TRUE(names.MayExist(scratch / "long file name.TEXT"));
  EXPECT_TRUE(names.MayExist(scratch / "SUB"));
  char shortName[MAX_PATH] = "";
  if (GetShortPathNameA((scratch / "Long File Name.text").c_str(), shortName, MAX_PATH) != 0) {
    EXPECT_TRUE(names.MayExist(shortName)) << shortName;
  }
  EXPECT_FALSE(names.MayExist(scratch / "other.txt"));
  // Read once: a file made later is not known until it is added.
  WriteFile(scratch / "other.txt", "y");
  EXPECT_FALSE(names.MayExist(scratch / "other.txt"));
  names.Add(scratch / "Other.txt");
  EXPECT_TRUE(names.MayExist(scratch / "OTHER.TXT"));
  // A folder that does not exist has no names; one named with a trailing backslash is the same folder.
  EXPECT_FALSE(names.MayExist(scratch / "missing\\a.txt"));
  WriteFile(sub + "\\a.txt", "z");
  EXPECT_TRUE(names.MayExist(sub + "\\A.TXT"));
  EXPECT_TRUE(names.MayExist(sub + "\\\\a.txt"));
}
