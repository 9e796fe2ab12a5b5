// Reading an archive: the header table with the index of its identifiers, opening
// the volumes of a set (asking for missing disks), and inflating one file's data.
// Files come through TArchiveFiles, so none of this needs Windows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ArchiveFiles.h"
#include "FileHeader.h"
#include "ZlibStream.h"

namespace setup {

// Identifiers 0 to 1999 are indexed.
constexpr int kMaxIndexedID = 1999;

// Header index by unique identifier.
class TIdentifierTable {
 public:
  TIdentifierTable() { Clear(); }
  void Clear() { FIndexes.fill(-1); }
  // Indexes every header; a later header with the same identifier wins.
  void Build(const TFileHeaders& Headers);
  // Ignores identifiers outside 0..1999.
  void Set(int32_t UniqueID, int Index);
  // -1 for an identifier without a header or outside 0..1999.
  int Find(int32_t UniqueID) const;

 private:
  std::array<int, kMaxIndexedID + 1> FIndexes;
};

// Loads the header table of the archive at Offset in Stream and indexes it. Any
// failure raises EQnlkCompress "Could not read the file headers ..." and leaves both
// empty.
void LoadArchiveHeaders(fw::TStream& Stream, int64_t Offset, TFileHeaders& Headers, TIdentifierTable& IDs);

// Called with the folder where a missing volume was looked for; the handler puts the
// folder to look in next into Folder.
using TAskForDisk = std::function<void(int Volume, std::string& Folder)>;

// Opens volume Volume of the archive whose current volume path is Path; in a volume
// set the path's extension becomes ".Volume" first. A missing volume is asked for
// through AskForDisk at most four times, and the folder of every answer (the last
// one's too) is looked at; Path follows the answers. Without a handler a missing
// volume raises "Could not open the correct disk file %d"; when the answers run out,
// or the file does not open, "Cannot open the compressed file %s".
std::unique_ptr<fw::TStream> OpenVolume(TArchiveFiles& Files, bool VolumeSet, int Volume, TFileOpen Mode,
                                        std::string& Path, const TAskForDisk& AskForDisk);

struct TInflateHooks {
  // After each inflated block has gone to the target, with its size. May raise to stop.
  std::function<void(size_t Produced)> OnBlock;
  // The target took fewer bytes than given; EqcDiskFull follows unless it raised.
  std::function<void()> OnWriteShort;
  // Opens the given volume when the data goes on there.
  std::function<std::unique_ptr<fw::TStream>(int Volume)> OpenNextVolume;
};

// The inflate state and the buffers extraction works in. One workspace serves file
// after file, so that extracting many small files does not take and give back the
// same memory for each of them.
class TInflateWorkspace {
 public:
  TInflateWorkspace();
  TInflater Inflater;
  std::vector<uint8_t> Input;
  // Collects the small inflated blocks for larger writes to the target.
  std::vector<uint8_t> Output;
};

// Inflates the data of Header, from its data start in Volume (the header's first
// volume, already open; the archive lies at Offset in it), into Target. The data must
// form one complete zlib stream of exactly the header's uncompressed size; otherwise
// EQnlkCompress, with no more written than the header announces.
void InflateFile(const TFileHeader& Header, int64_t Offset, std::unique_ptr<fw::TStream>& Volume, fw::TStream& Target,
                 const TInflateHooks& Hooks);
// The same in the given workspace.
void InflateFile(const TFileHeader& Header, int64_t Offset, std::unique_ptr<fw::TStream>& Volume, fw::TStream& Target,
                 const TInflateHooks& Hooks, TInflateWorkspace& Workspace);

}  // namespace setup
