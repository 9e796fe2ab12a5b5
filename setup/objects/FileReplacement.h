// Putting a new file in the place of one that is in use: the new file is written
// beside the old one under a numbered name, and moved over it when Windows next starts.
#pragma once

#include <string>

namespace setup {

// True when Path is missing, or present and neither in use nor read-only: a new file
// can be renamed over it now.
bool IsFileReplaceable(const std::string& Path);
// Name with its extension replaced by ".N" for the first N = 1, 2, ... that names no
// file in Folder. Raises IECustomInstallFile when 9999 numbers are taken.
std::string FreeNumberedName(const std::string& Folder, const std::string& Name);

// The ways to have the move done at the next start. Each takes the full paths of the
// new file (already complete) and of the target.
// Windows 9x: the "Rename" section of the Windows folder's WININIT.INI, short names on
// both sides. False when the line cannot be written.
bool ScheduleRenameInWininit(const std::string& NewPath, const std::string& Target);
// The NT family: MoveFileExA with MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT.
bool ScheduleMoveAtRestart(const std::string& NewPath, const std::string& Target);
// The fallback: a batch file in the temporary folder that erases the target and moves
// the new file over it (quoted short paths). Returns the batch file's path.
std::string WriteReplacementBatch(const std::string& NewPath, const std::string& Target);

}  // namespace setup
