// What an open file handle tells about the file behind it, through kernel32 functions of
// later Windows versions that are looked up where they are needed.
#pragma once

#include <string>

namespace setup {

// A kernel32 function of later Windows versions; null on a system without it.
void* Kernel32Procedure(const char* Name);
template <typename TFunction>
TFunction Kernel32Function(const char* Name) {
  return reinterpret_cast<TFunction>(Kernel32Procedure(Name));
}

// The path of what Handle (a Win32 HANDLE) refers to as the file system finally reached
// it (links, junctions, drive letters and short names resolved), as "X:\..." or
// "\\server\..."; empty when the system cannot tell.
std::string FinalPathOf(void* Handle);

}  // namespace setup
