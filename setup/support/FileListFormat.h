// The remote file list "filelist.lst" that a build writes beside its net archives: a
// signed 32-bit count, then one 80-byte record per file (size, date, component name,
// version), little-endian. Portable code: no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/SysUtils.h"

namespace setup {

inline constexpr char kRemoteFileListName[] = "filelist.lst";
inline constexpr size_t kFileListCountSize = 4;
inline constexpr size_t kFileListRecordSize = 80;
// The longest name and version a record keeps.
inline constexpr size_t kFileListMaxName = 39;
inline constexpr size_t kFileListMaxVersion = 20;

struct TFileListEntry {
  int32_t Size = 0;
  double Date = 0;
  std::string Name;
  std::string Version;
};

// The 80 bytes of an entry: name and version cut to what the record keeps, the unused
// bytes zero.
std::string EncodeFileListRecord(const TFileListEntry& Entry);
std::string EncodeFileListCount(int32_t Count);
// An entry from 80 bytes: the name up to its zero or 40 characters, the version up to its
// zero or 20 characters.
TFileListEntry DecodeFileListRecord(const char* Record);

FW_EXCEPTION(EFileListTruncated, fw::Exception);

// Reads a whole list through Read (which fills up to the given number of bytes and
// returns how many it gave; fewer only at the end), handing each entry to Apply. A count
// below 1 means no entries. Raises EFileListTruncated when the count or a record is cut
// short.
using TFileListRead = std::function<size_t(char* Buffer, size_t Count)>;
void ReadFileList(const TFileListRead& Read, const std::function<void(const TFileListEntry&)>& Apply);

}  // namespace setup
