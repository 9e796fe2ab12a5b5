// The user's shell folders and the machine's program folders, as the registry names
// them, with fixed defaults when it does not. Each returns a folder without trailing "\".
#pragma once

#include <string>

namespace setup {

// The user's "Shell Folders" key (under HKEY_CURRENT_USER).
inline constexpr char kShellFoldersKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// Windows' own key (under HKEY_LOCAL_MACHINE) that names the program folders.
inline constexpr char kCurrentVersionKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// "Start Menu", default the Windows folder + "\Startmen".
std::string GetStartMenuDir();
// "Programs", default GetStartMenuDir() + "\Programs".
std::string GetProgramsMenuDir();
// "Desktop", default the Windows folder + "\Desktop".
std::string GetDesktopDir();
// "Startup", default the Windows folder + "\Startup".
std::string GetStartupDir();
// "ProgramFilesDir", default the current drive + "\Program Files".
std::string GetProgramFilesDir();
// "CommonFilesDir", default the current drive + "\Program Files\Common Files".
std::string GetCommonFilesDir();

}  // namespace setup
