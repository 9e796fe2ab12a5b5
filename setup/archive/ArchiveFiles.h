// The files the archive reads, behind a small interface: the Windows program opens
// real files (TWinFile), tests and fuzzers hold the volumes in memory.
#pragma once

#include <memory>
#include <string>

#include "core/Streams.h"

namespace setup {

enum class TFileOpen {
  Read,       // existing file, read only; others may read and write
  ReadWrite,  // existing file, read and write; others may read and write
  Create,     // new empty file (an old one is truncated), read and write; others may read
};

class TArchiveFiles {
 public:
  virtual ~TArchiveFiles() = default;
  // A file (not a folder) of that name is present.
  virtual bool Exists(const std::string& Path) = 0;
  // Nil when the file cannot be opened.
  virtual std::unique_ptr<fw::TStream> Open(const std::string& Path, TFileOpen Mode) = 0;
};

}  // namespace setup
