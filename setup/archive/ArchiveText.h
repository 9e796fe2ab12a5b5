// Text helpers of the archive: file-name parts and the date-time values stored in
// headers (";"-separated items and trailing backslashes: support/PathStrings.h). Nothing here touches the file system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

// File-name parts, "\" and "/" both separating folders, ":" ending a drive.
std::string ExtractFilePath(std::string_view Path);  // folder with its trailing backslash
std::string ExtractFileName(std::string_view Path);
std::string ChangeFileExt(std::string_view Path, std::string_view Ext);
std::string IncludeTrailingBackslash(std::string_view Path);
// ".N", the extension of volume N of a volume set.
std::string VolumeExtension(int Volume);

// Date-times are days since 30 December 1899, the time of day as the fraction.
// The packed MS-DOS date and time (two-second resolution) of a file's date stamp:
// date in the high word, time in the low word.
double DosDateTimeToDateTime(uint32_t DosDateTime);
// 0 ("no date") when the value lies outside the years 1980 to 2107, NaN included.
uint32_t DateTimeToDosDateTime(double DateTime);

// Rounded Done / Total * 100; 0 when Total is 0.
uint8_t Percent(int64_t Done, int64_t Total);

}  // namespace setup
