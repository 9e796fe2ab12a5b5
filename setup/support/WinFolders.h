// Windows' own folders, temporary files and short path names.
#pragma once

#include <string>

namespace setup {

// The short (8.3) form of Path; Path itself when Windows has none for it.
std::string ShortPathName(const std::string& Path);
// The name of a new file in the temporary folder (prefix "bat"); Windows creates the
// file, and it is deleted again unless Keep. Raises EAPIRoutines "Cannot create a
// temporary file".
std::string GetTempFile(bool Keep);
// Raise EAPIRoutines when Windows does not answer.
std::string GetSystemDir();
std::string GetWindowsDir();

}  // namespace setup
