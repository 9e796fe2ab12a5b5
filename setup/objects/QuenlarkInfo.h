// Where the installer library lies on a build machine: build-time code looks for the
// loader program there.
#pragma once

#include <string>

#include "support/Errors.h"

namespace setup {

SETUP_IEXCEPTION(IENoQuenlarkPath, IException);

namespace QuenlarkInfo {

// The development environment's library search path: a ";"-separated list of folders
// under HKEY_CURRENT_USER.
inline constexpr char kSearchPathKey[] = "\\Software\\TOBA\\Quenlark\\Library";
inline constexpr char kSearchPathValue[] = "Search Path";
// The environment's root folder under HKEY_LOCAL_MACHINE (the library's vendor key),
// which the two macros of the search path stand for.
inline constexpr char kRootFolderKey[] = "\\Software\\TOBA\\Quenlark";
inline constexpr char kRootFolderValue[] = "RootDir";
inline constexpr char kRootMacro[] = "$(ROOT)";
inline constexpr char kQuenlarkRootMacro[] = "$(QUENLARK)";
// The text file that marks the library's folder.
inline constexpr char kMarkerFile[] = "Quenlark.txt";

// The first folder of the search path (macros replaced) that holds the marker file,
// without trailing backslash. When there is none (or the search path is blank): empty,
// or IENoQuenlarkPath "Cannot find the the Quenlark directory on the VCL library search
// path" with RaiseIfMissing.
std::string GetLibraryDirectory(bool RaiseIfMissing);

}  // namespace QuenlarkInfo
}  // namespace setup
