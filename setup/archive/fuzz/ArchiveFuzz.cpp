// Lists and extracts every file of an archive held in memory.
//
// Input: one byte of layout, then the archive. Layout bit 0 clear: the rest is a
// single-file archive. Bit 0 set: a volume set; the next byte gives the number of
// volumes (1 to 8), then one 16-bit length per volume but the last, then the volumes'
// bytes. Bit 1 set: volumes after the first lie on another disk, which the prompt
// handler names.
//
// Whatever the input: no crash and no undefined behaviour, the archive's own errors
// only, and a file that extracts has the size its header announces.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ArchiveReader.h"
#include "ArchiveText.h"
#include "MemoryArchives.h"
#include "support/Errors.h"

using namespace setup;
using archive_memory::Bytes;
using archive_memory::TMemoryFiles;

namespace {

bool LayOut(const uint8_t* Data, size_t Size, TMemoryFiles& Files, bool& VolumeSet, bool& OtherDisk) {
  if (Size < 1) return false;
  const uint8_t layout = Data[0];
  ++Data, --Size;
  VolumeSet = (layout & 1) != 0;
  OtherDisk = (layout & 2) != 0;
  if (!VolumeSet) {
    Files.Files["A:\\files.1"] = Bytes(Data, Data + Size);
    return true;
  }
  if (Size < 1) return false;
  const int count = 1 + Data[0] % 8;
  ++Data, --Size;
  std::vector<size_t> lengths;
  for (int i = 0; i + 1 < count; ++i) {
    if (Size < 2) return false;
    lengths.push_back(size_t(Data[0]) | size_t(Data[1]) << 8);
    Data += 2, Size -= 2;
  }
  lengths.push_back(Size);
  for (int i = 0; i < count; ++i) {
    size_t n = std::min(lengths[i], Size);
    std::string folder = i > 0 && OtherDisk ? "B:" : "A:";
    Files.Files[folder + "\\files." + std::to_string(i + 1)] = Bytes(Data, Data + n);
    Data += n, Size -= n;
  }
  return true;
}

void CheckDate(double Date) {
  uint32_t stamp = DateTimeToDosDateTime(Date);
  // A date that converts describes a real stamp, which converts back to itself.
  if (stamp != 0 && DateTimeToDosDateTime(DosDateTimeToDateTime(stamp)) != stamp) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryFiles files;
  bool volumeSet = false, otherDisk = false;
  if (!LayOut(Data, Size, files, volumeSet, otherDisk)) return 0;

  TFileHeaders headers;
  TIdentifierTable ids;
  try {
    auto first = files.Open("A:\\files.1", TFileOpen::Read);
    LoadArchiveHeaders(*first, 0, headers, ids);
  } catch (const EQnlkCompress&) {
    if (headers.GetCount() != 0) __builtin_trap();
    return 0;
  }

  // Listing.
  TlzhFileStats stats;
  headers.InitFileStats(stats);
  for (int i = 0; i < headers.GetCount(); ++i) {
    const TFileHeader& h = headers[i];
    h.GetFileStats(stats);
    CheckDate(h.Date());
    // The identifier finds a header of that identifier, this one or a later one.
    int found = ids.Find(h.UniqueID());
    if (h.UniqueID() >= 0 && h.UniqueID() <= kMaxIndexedID) {
      if (found < i || headers[found].UniqueID() != h.UniqueID()) __builtin_trap();
    } else if (found != -1) {
      __builtin_trap();
    }
  }
  try {
    (void)headers.AppendPosition();
  } catch (const EQnlkCompress&) {
  }

  // Extraction of every file.
  const bool set = headers.MultiVolume == 1;
  TAskForDisk ask;
  if (otherDisk) ask = [](int, std::string& Folder) { Folder = "B:"; };
  for (int i = 0; i < headers.GetCount(); ++i) {
    const TFileHeader& h = headers[i];
    std::string path = "A:\\files.1";
    try {
      auto volume = OpenVolume(files, set, std::max<int>(1, h.FirstVolume()), TFileOpen::Read, path, ask);
      fw::TMemoryStream out;
      TInflateHooks hooks;
      hooks.OpenNextVolume = [&](int Volume) { return OpenVolume(files, set, Volume, TFileOpen::Read, path, ask); };
      InflateFile(h, 0, volume, out, hooks);
      if (out.Size() != h.UncompressedSize()) __builtin_trap();
    } catch (const EQnlkCompress&) {
    }
  }
  return 0;
}
