// The few file-system routines the archive needs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ArchiveFiles.h"
#include "ArchiveStream.h"

namespace setup {

bool FileExists(const std::string& Path);
// The size and the last write time (a FILETIME as one number) of the file at Path;
// false when it cannot be read.
bool FileSizeAndWriteTime(const std::string& Path, int64_t& Size, uint64_t& WriteTime);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& Folder);
// The full path of the running program.
std::string ProgramFileName();

// "Cannot create the file <Path>", then on a line of its own the system's reason for
// Error (a system error code), so that the user knows what to change.
std::string CannotCreateFileText(const std::string& Path, uint32_t Error);
// "The disk is full", then the drive and the file that was being written on it.
std::string DiskFullText(const std::string& Path);

// The archive's files on disk, opened as TWinFile.
class TDiskFiles : public TArchiveFiles {
 public:
  bool Exists(const std::string& Path) override { return FileExists(Path); }
  std::unique_ptr<fw::TStream> Open(const std::string& Path, TFileOpen Mode) override;
};

// A new file that takes the place of Target only when it is complete: it is written
// under a temporary name in Target's folder and renamed over Target by Commit. The
// temporary file is removed when the object goes without a commit.
// Where no Target exists yet, CreateInPlace writes it under its own name: there is no
// old file to keep, and a commit is then only the close. Without a commit that file
// goes again.
// Where Target exists and the new contents are small enough to hold, CreateInMemory
// collects them in memory. Commit then writes the complete contents over Target's own
// data, but only where that changes nothing else: Target is a plain file (not a link,
// no second name, none of the read-only, hidden or system attributes), nobody has it
// open, and its disk has room for the contents. Elsewhere the commit goes through a
// temporary file as above. Either way the old file is untouched until the new contents
// are complete.
class TReplacementFile {
 public:
  // The largest contents CreateInMemory collects.
  static constexpr int64_t kInMemoryLimit = 16 << 20;

  explicit TReplacementFile(std::string Target) : FTarget(std::move(Target)) {}
  ~TReplacementFile();
  TReplacementFile(const TReplacementFile&) = delete;
  TReplacementFile& operator=(const TReplacementFile&) = delete;

  // Creates the temporary file; false when that fails.
  bool Create();
  // Creates Target itself when no file of that name exists; false when one does (or
  // the file cannot be made), nothing then being created.
  bool CreateInPlace();
  // Collects the contents in memory.
  void CreateInMemory();
  // Where the contents go: the file, or the memory.
  fw::TStream& Stream();
  // The date stamp (packed MS-DOS local date and time) the new file gets; false when it
  // cannot be set. Set on the file at once, or at the commit.
  bool SetDosDateTime(uint32_t Value);
  // Closes the file and moves it over the target, or writes the collected contents;
  // false when that fails, GetLastError telling why.
  bool Commit();

 private:
  enum class TOverwrite { Written, NotHere, Failed };
  TOverwrite OverwriteInPlace();
  bool CommitThroughTemporaryFile();

  std::string FTarget;
  std::string FTempName;
  bool FInPlace = false;
  TWinFile FStream;
  std::unique_ptr<fw::TMemoryStream> FMemory;
  uint32_t FStamp = 0;
};

}  // namespace setup
