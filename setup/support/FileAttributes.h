// File attributes, the deepest existing folder of a path and strings of other modules.
#pragma once

#include <cstdint>
#include <string>

#include "core/Sets.h"

namespace setup {

enum class TQnlkFileAttributes {
  qfaArchive,
  qfaCompressed,
  qfaDirectory,
  qfaHidden,
  qfaNormal,
  qfaOffline,
  qfaReadOnly,
  qfaSystem,
  qfaTemporary
};
using enum TQnlkFileAttributes;
using TQnlkFileAttributeSet = fw::TSet<TQnlkFileAttributes>;

// The Windows attribute bits of a set (qfaCompressed has none).
uint32_t FileAttributeBits(TQnlkFileAttributeSet Attributes);

// Raises IEfcSetAttributes "Cannot set file attributes. Error : %s" with Windows' text.
void SetFileAttributeSet(const std::string& Path, TQnlkFileAttributeSet Attributes);
// [qfaReadOnly] when the file opens (for reading, unshared) and is read-only; an empty
// set otherwise, also when the file cannot be opened.
void GetFileReadOnlyAttr(const std::string& Path, TQnlkFileAttributeSet& Attributes);

bool FolderExists(const std::string& Path);
// Path itself when it is an existing folder, else the deepest existing folder above it;
// empty for a blank path or when no part of it exists.
std::string GetDeepestExistingDir(const std::string& Path);

// String Id of Module's string table; empty when the module or the string is missing.
std::string LoadDllString(const std::string& Module, unsigned Id);

}  // namespace setup
