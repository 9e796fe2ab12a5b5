// The names a typed destination folder may have, before anything is written there.
#include <gtest/gtest.h>

#include <string>

#include "wizard/FolderNameRules.h"

namespace setup {
namespace {

TFolderNameFault FaultOf(const std::string& Folder, size_t Deepest = 20) {
  return CheckFolderName(Folder, Deepest).Fault;
}

TEST(FolderNameRules, RefusesCharactersAFileNameCannotHoldAfterTheDriveOrShare) {
  EXPECT_EQ(FaultOf("C:\\Program Files\\Kavel"), TFolderNameFault::None);
  EXPECT_EQ(FaultOf("\\\\server\\share\\Kavel Stavrel (4)"), TFolderNameFault::None);
  // A letter the code page does not have arrives as "?".
  const TFolderNameCheck typed = CheckFolderName("C:\\Programy\\Zaz?\u00f3\u0142", 20);
  EXPECT_EQ(typed.Fault, TFolderNameFault::BadCharacter);
  EXPECT_EQ(typed.Part, "?");
  for (const char* folder : {"C:\\a*b", "C:\\a:b", "C:\\a<b", "C:\\a>b", "C:\\a|b", "C:\\a\"b", "C:\\a/b", "C:\\a\tb",
                             "\\\\server\\share\\a?b"})
    EXPECT_EQ(FaultOf(folder), TFolderNameFault::BadCharacter) << folder;
}

TEST(FolderNameRules, RefusesDeviceNamesAsFolders) {
  for (const char* folder : {"C:\\CON", "C:\\apps\\nul", "C:\\apps\\Com1.txt\\x", "C:\\LPT9 ", "\\\\s\\share\\aux"}) {
    const TFolderNameCheck check = CheckFolderName(folder, 20);
    EXPECT_EQ(check.Fault, TFolderNameFault::DeviceName) << folder;
  }
  EXPECT_EQ(CheckFolderName("C:\\apps\\Com1.txt\\x", 20).Part, "Com1.txt");
  for (const char* folder : {"C:\\CONSOLE", "C:\\COM0", "C:\\COM10", "C:\\nullish", "C:\\"})
    EXPECT_EQ(FaultOf(folder), TFolderNameFault::None) << folder;
}

TEST(FolderNameRules, TheDeepestFileMustFitThePathLimit) {
  const std::string folder = "C:\\" + std::string(200, 'k');  // 203 characters
  EXPECT_EQ(FaultOf(folder, 55), TFolderNameFault::None) << "203 + 1 + 55 = 259";
  EXPECT_EQ(FaultOf(folder, 56), TFolderNameFault::TooLong);
  EXPECT_EQ(FaultOf(folder + "\\", 55), TFolderNameFault::None) << "the trailing backslash counts once";
  EXPECT_EQ(FaultOf("C:\\" + std::string(251, 'k'), 0), TFolderNameFault::None);
}

}  // namespace
}  // namespace setup
