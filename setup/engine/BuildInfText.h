// The text of "BUILD.INF": its first line names the build folder. Portable code.
#pragma once

#include <string>

namespace setup {

// The build folder named by the first line of Content, trimmed of blanks and control
// characters at both ends. False when Content has no line or the first line is blank.
// Lines end at CR LF, LF or CR.
bool BuildDirectoryFromBuildInf(const std::string& Content, std::string& Directory);

}  // namespace setup
