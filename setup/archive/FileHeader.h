// The archive's file headers: the 176-byte record of one stored file, the list of
// them with the archive's multi-volume flag, and the statistics handed to events.
//
// Archive layout (little-endian): 4 bytes header count, 1 byte multi-volume flag
// (0 single file, 1 volume set), then the headers. In a single file each header is
// followed by its file's zlib data and names the position behind that data as the
// next header's; in a volume set the headers stand back to back and the data follows.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Streams.h"

namespace setup {

constexpr int kHeaderSize = 176;
constexpr int kMaxStoredName = 100;
constexpr int kMaxStoredVersion = 20;
constexpr int kHeaderTableStart = 5;
using THeaderRecord = std::array<uint8_t, kHeaderSize>;

// Sizes and byte counts are 64-bit: an operation over several files (or an
// uncompressed copy) passes 2 GiB although each stored file stays below it.
struct TlzhFileStats {
  uint8_t FilePercent = 0;
  int64_t FileDone = 0;
  std::string FileName;
  int64_t CompressedSize = 0;
  uint8_t Ratio = 0;
  int64_t FileSize = 0;
  THeaderRecord Header{};
  bool Finished = false;
  uint8_t TotalPercent = 0;
  int64_t TotalDone = 0;
  int64_t TotalCompressed = 0;
  uint8_t TotalRatio = 0;
  int64_t TotalSize = 0;
};

class TFileHeader {
 public:
  TFileHeader() { FRecord.fill(0); }

  // Field offsets in the record.
  enum : int {
    fhFileNumber = 0,
    fhDate = 8,
    fhLastVolume = 16,
    fhEndPosition = 20,
    fhName = 24,
    fhNextHeader = 128,
    fhUncompressedSize = 132,
    fhDataStart = 136,
    fhCompressedSize = 140,
    fhFirstVolume = 144,
    fhUniqueID = 148,
    fhVersion = 152,
  };

  int32_t FileNumber() const { return GetInt(fhFileNumber); }
  void SetFileNumber(int32_t V) { PutInt(fhFileNumber, V); }
  double Date() const;
  void SetDate(double V);
  uint8_t LastVolume() const { return FRecord[fhLastVolume]; }
  void SetLastVolume(uint8_t V) { FRecord[fhLastVolume] = V; }
  int32_t EndPosition() const { return GetInt(fhEndPosition); }
  void SetEndPosition(int32_t V) { PutInt(fhEndPosition, V); }
  std::string Name() const { return GetShortString(fhName, kMaxStoredName); }
  void SetName(const std::string& V) { PutShortString(fhName, kMaxStoredName, V); }
  int32_t NextHeader() const { return GetInt(fhNextHeader); }
  void SetNextHeader(int32_t V) { PutInt(fhNextHeader, V); }
  int32_t UncompressedSize() const { return GetInt(fhUncompressedSize); }
  void SetUncompressedSize(int32_t V) { PutInt(fhUncompressedSize, V); }
  int32_t DataStart() const { return GetInt(fhDataStart); }
  void SetDataStart(int32_t V) { PutInt(fhDataStart, V); }
  int32_t CompressedSize() const { return GetInt(fhCompressedSize); }
  void SetCompressedSize(int32_t V) { PutInt(fhCompressedSize, V); }
  uint8_t FirstVolume() const { return FRecord[fhFirstVolume]; }
  void SetFirstVolume(uint8_t V) { FRecord[fhFirstVolume] = V; }
  int32_t UniqueID() const { return GetInt(fhUniqueID); }
  void SetUniqueID(int32_t V) { PutInt(fhUniqueID, V); }
  std::string FileVersion() const { return GetShortString(fhVersion, kMaxStoredVersion); }
  void SetFileVersion(const std::string& V) { PutShortString(fhVersion, kMaxStoredVersion, V); }

  // Set when the record was read from an archive, or written into one; the writer
  // compresses only the others.
  bool ReadFromArchive() const { return FReadFromArchive; }
  void SetReadFromArchive() { FReadFromArchive = true; }
  const THeaderRecord& Record() const { return FRecord; }

  // The stored name is not blank.
  bool IsValid() const;
  void GetFileStats(TlzhFileStats& Stats) const;
  // Fills name, date, size and version from the source file that the first ";" item
  // of Path names. A path longer than the name field is refused. (Windows only.)
  void AssignSourceFile(const std::string& Path);
  void ReadFromStream(fw::TStream& Stream);
  void WriteToStream(fw::TStream& Stream) const;

 private:
  int32_t GetInt(int At) const;
  void PutInt(int At, int32_t V);
  std::string GetShortString(int At, int Max) const;
  void PutShortString(int At, int Max, const std::string& V);

  THeaderRecord FRecord;
  bool FReadFromArchive = false;
};

class TFileHeaders {
 public:
  int GetCount() const { return static_cast<int>(FHeaders.size()); }
  TFileHeader& GetFileHeaders(int Index) const;
  TFileHeader& operator[](int Index) const { return GetFileHeaders(Index); }
  // Takes ownership; an invalid header is refused (and freed).
  void Add(std::unique_ptr<TFileHeader> Header);
  void Clear() {
    FHeaders.clear();
    FNameIndex.clear();
  }
  // One header per line, numbered from 1; behind the present ones when appending.
  // (Windows only: reads the source files.)
  void AddFiles(const std::vector<std::string>& List, bool Append);
  // Index of the header whose stored name is the first ";" item of Name (any case); -1.
  int IndexOfName(const std::string& Name) const;
  void GetTotals(TlzhFileStats& Stats) const;
  void InitFileStats(TlzhFileStats& Stats) const;
  // Reads the count, the flag and the header chain of the archive at Offset. Every
  // next-header position, the last one's too, must lie behind its own header and
  // inside the stream.
  void LoadFromStream(fw::TStream& Stream, int64_t Offset);
  // Where files appended to this single-file archive go: the last header's next
  // position, once it is checked to lie behind the data of every stored file (an
  // append must never cut stored data).
  int64_t AppendPosition() const;
  // Writes the count and the flag at position 0, and with flag 1 the headers behind.
  void SaveToStream(fw::TStream& Stream);
  // Every header is now in the archive, as if read from it.
  void MarkAllReadFromArchive() {
    for (auto& header : FHeaders) header->SetReadFromArchive();
  }

  uint8_t MultiVolume = 0;

 private:
  std::vector<std::unique_ptr<TFileHeader>> FHeaders;
  // The first header of each upper-cased name (a header's name is set before it is
  // added), made by IndexOfName after the list changed.
  mutable std::unordered_map<std::string, int> FNameIndex;
};

}  // namespace setup
