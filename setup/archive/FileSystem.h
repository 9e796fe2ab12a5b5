// The few file-system routines the archive needs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ArchiveFiles.h"
#include "ArchiveStream.h"
#include "support/Sha0.h"

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

// The whole of a file the archive wrote: where it is, its size and the SHA-0 digest of its
// contents, counted while it was written.
struct TWrittenFile {
  std::string Path;
  int64_t Size = 0;
  TSha0Digest Digest{};
};

// Where an extraction tells of every file it puts in place, so that the work can be
// taken back: a record of the installation run. The identities are FileIdOf's.
class TReplacementRecord {
 public:
  // Path was made where no file was; Id is the new file.
  virtual void FileCreated(const std::string& Path, const std::string& Id) = 0;
  // Target, which was there before, is the new file Id now; its old file lies at Aside
  // (in Target's folder) and is the record's from now on: it goes back to Target or is
  // deleted when the record says so.
  virtual void FileReplaced(const std::string& Target, const std::string& Id, const std::string& Aside) = 0;

 protected:
  ~TReplacementRecord() = default;
};

// Deletes the file at Path; one in use is deleted at the next restart. False when neither
// can be done.
bool DeleteNowOrAtRestart(const std::string& Path);
// Copies the file at Path to a free name beside it, for a file that is about to be
// rewritten where it is; the copy's path, empty when it cannot be made.
std::string CopyAside(const std::string& Path);

// A new file that takes the place of Target only when it is complete: it is written
// under a temporary name in Target's folder and renamed over Target by Commit. Target is
// at every moment the whole old or the whole new file. With a record given to Commit,
// the old one first gets a second name beside it (a hard link; where none can be made, a
// whole copy: the aside), handed to the record; without one nothing of it is kept.
// The temporary file is removed when the object goes without a commit.
// Where no Target exists yet, CreateInPlace writes it under its own name: there is no
// old file to keep, and a commit is then only the close. Without a commit that file
// goes again.
class TReplacementFile {
 public:
  explicit TReplacementFile(std::string Target) : FTarget(std::move(Target)) {}
  ~TReplacementFile();
  TReplacementFile(const TReplacementFile&) = delete;
  TReplacementFile& operator=(const TReplacementFile&) = delete;

  // Creates the temporary file; false when that fails.
  bool Create();
  // Creates Target itself when no file of that name exists; false when one does (or
  // the file cannot be made), nothing then being created.
  bool CreateInPlace();
  // Where the contents go.
  fw::TStream& Stream() { return FStream; }
  // The date stamp (packed MS-DOS local date and time) the new file gets; false when it
  // cannot be set.
  bool SetDosDateTime(uint32_t Value) { return FStream.SetDosDateTime(Value); }
  // Closes the new file and puts it in place; the record, when given, learns of it.
  // False when that fails, GetLastError telling why: Target is then as it was and no
  // file of the replacement stays.
  bool Commit(TReplacementRecord* Record = nullptr);

 private:
  // Moves the complete new file over Target; KeepOld: an existing old file is kept aside
  // under a second name in its folder (Aside), for the run to give back or delete.
  bool ReplaceTarget(bool KeepOld, std::string& Aside);
  std::string FTarget;
  std::string FTempName;
  bool FInPlace = false;
  TWinFile FStream;
};

}  // namespace setup
