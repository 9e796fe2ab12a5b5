// What a destination folder typed by the user must be as a name before anything is
// written there: no character that a file name cannot hold, no device name, and short
// enough that the product's deepest file still fits the system's path limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

// The longest path the file functions take (MAX_PATH less its terminating zero).
inline constexpr size_t kLongestPath = 259;

enum class TFolderNameFault { None, BadCharacter, DeviceName, TooLong };

struct TFolderNameCheck {
  TFolderNameFault Fault = TFolderNameFault::None;
  std::string Part;  // the character or the folder name at fault
};

// Checks a full folder path ("C:\..." or "\\server\share\...") whose drive or share is
// given: the characters after it (a "?" is also what the system makes of a typed letter
// its code page lacks), each folder name, and the length the deepest file reaches:
// the folder, a backslash and DeepestFile (the longest path of a file below the folder,
// relative to it).
TFolderNameCheck CheckFolderName(std::string_view Folder, size_t DeepestFile);

}  // namespace setup
