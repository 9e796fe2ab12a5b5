#include "ArchiveReader.h"

#include <algorithm>
#include <vector>

#include "ArchiveText.h"
#include "ZlibStream.h"
#include "support/Errors.h"
#include "support/PathStrings.h"

namespace setup {

namespace {
constexpr size_t kInputBlock = 65536;
constexpr size_t kOutputBlock = 4096;
constexpr size_t kWriteBlock = 65536;
constexpr int kDiskRequests = 4;

const char* const kCorrupt =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";

std::string SizeMismatch(const std::string& Name) {
  return fw::Format("The decompressed file's size does not match with the actual size of the file.  The file is %s",
                    Name);
}

// Collects the small inflated blocks in Buffer and hands the target larger writes.
class TWriteBehind {
 public:
  TWriteBehind(fw::TStream& Target, const std::function<void()>& OnWriteShort, std::vector<uint8_t>& Buffer)
      : FTarget(Target), FOnWriteShort(OnWriteShort), FBuffer(Buffer) {
    FBuffer.clear();
    FBuffer.reserve(kWriteBlock);
  }
  void Write(const uint8_t* Data, size_t Count) {
    if (FBuffer.size() + Count > FBuffer.capacity()) Flush();
    FBuffer.insert(FBuffer.end(), Data, Data + Count);
  }
  void Flush() {
    if (!FBuffer.empty() && FTarget.Write(FBuffer.data(), FBuffer.size()) != FBuffer.size()) {
      if (FOnWriteShort) FOnWriteShort();
      throw EqcDiskFull("The disk is full");
    }
    FBuffer.clear();
  }

 private:
  fw::TStream& FTarget;
  const std::function<void()>& FOnWriteShort;
  std::vector<uint8_t>& FBuffer;
};
}  // namespace

void TIdentifierTable::Build(const TFileHeaders& Headers) {
  Clear();
  for (int i = 0; i < Headers.GetCount(); ++i) Set(Headers[i].UniqueID(), i);
}

void TIdentifierTable::Set(int32_t UniqueID, int Index) {
  if (UniqueID >= 0 && UniqueID <= kMaxIndexedID) FIndexes[UniqueID] = Index;
}

int TIdentifierTable::Find(int32_t UniqueID) const {
  return UniqueID >= 0 && UniqueID <= kMaxIndexedID ? FIndexes[UniqueID] : -1;
}

void LoadArchiveHeaders(fw::TStream& Stream, int64_t Offset, TFileHeaders& Headers, TIdentifierTable& IDs) {
  IDs.Clear();
  try {
    Headers.LoadFromStream(Stream, Offset);
  } catch (const fw::Exception&) {
    Headers.Clear();
    throw EQnlkCompress(kCorrupt);
  }
  IDs.Build(Headers);
}

std::unique_ptr<fw::TStream> OpenVolume(TArchiveFiles& Files, bool VolumeSet, int Volume, TFileOpen Mode,
                                        std::string& Path, const TAskForDisk& AskForDisk) {
  for (int asked = 0;; ++asked) {
    if (VolumeSet) Path = ChangeFileExt(Path, VolumeExtension(Volume));
    if (Files.Exists(Path)) {
      std::unique_ptr<fw::TStream> stream = Files.Open(Path, Mode);
      if (!stream) throw EQnlkCompress(fw::Format("Cannot open the compressed file %s", Path));
      return stream;
    }
    if (!AskForDisk) throw EQnlkCompress(fw::Format("Could not open the correct disk file %d", Volume));
    if (asked == kDiskRequests) throw EQnlkCompress(fw::Format("Cannot open the compressed file %s", Path));
    std::string folder = RemoveTrailingBackslash(ExtractFilePath(Path));
    AskForDisk(Volume, folder);
    Path = IncludeTrailingBackslash(folder) + ExtractFileName(Path);
  }
}

void InflateFile(const TFileHeader& Header, int64_t Offset, std::unique_ptr<fw::TStream>& Volume, fw::TStream& Target,
                 const TInflateHooks& Hooks) {
  TInflateWorkspace workspace;
  InflateFile(Header, Offset, Volume, Target, Hooks, workspace);
}

TInflateWorkspace::TInflateWorkspace() : Input(kInputBlock) {}

void InflateFile(const TFileHeader& Header, int64_t Offset, std::unique_ptr<fw::TStream>& Volume, fw::TStream& Target,
                 const TInflateHooks& Hooks, TInflateWorkspace& Workspace) {
  const std::string name = Header.Name();
  const int64_t expected = Header.UncompressedSize();
  const int lastVolume = Header.LastVolume();
  int volume = Header.FirstVolume();
  const int64_t start = Offset + Header.DataStart();
  if (Volume->Seek(start, fw::soBeginning) != start) throw EQnlkCompress(SizeMismatch(name));

  Workspace.Inflater.Reset();
  z_stream& z = Workspace.Inflater.Rec();
  std::vector<uint8_t>& input = Workspace.Input;
  uint8_t block[kOutputBlock];
  TWriteBehind output(Target, Hooks.OnWriteShort, Workspace.Output);
  int64_t done = 0;
  bool ended = false;

  // In the file's last volume the data ends at its end position.
  auto readInput = [&]() -> size_t {
    size_t want = input.size();
    if (volume == lastVolume) {
      int64_t left = Offset + Header.EndPosition() + 1 - Volume->Position();
      if (left <= 0) return 0;
      want = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(want)));
    }
    return Volume->Read(input.data(), want);
  };

  for (;;) {
    for (;;) {
      z.next_out = block;
      z.avail_out = kOutputBlock;
      while (z.avail_out > 0 && !ended) {
        if (z.avail_in == 0) {
          size_t n = readInput();
          if (n == 0) break;
          z.next_in = input.data();
          z.avail_in = static_cast<uInt>(n);
        }
        int result = inflate(&z, Z_NO_FLUSH);
        if (result == Z_NEED_DICT || result < 0)
          throw EQnlkCompress(fw::Format("The compressed data of the file %s are damaged", name));
        if (result == Z_STREAM_END) ended = true;
      }
      size_t produced = kOutputBlock - z.avail_out;
      if (produced == 0) break;
      // More data than the header announces: damaged, and not worth filling a disk with.
      if (done + static_cast<int64_t>(produced) > expected) throw EQnlkCompress(SizeMismatch(name));
      output.Write(block, produced);
      done += static_cast<int64_t>(produced);
      if (Hooks.OnBlock) Hooks.OnBlock(produced);
    }
    if (ended || volume >= lastVolume) break;
    ++volume;
    if (!Hooks.OpenNextVolume) throw EQnlkCompress(fw::Format("Could not open the correct disk file %d", volume));
    Volume = Hooks.OpenNextVolume(volume);
  }
  output.Flush();
  // Data that stops before the end of its zlib stream is incomplete, even when the
  // byte count happens to fit.
  if (!ended || done != expected) throw EQnlkCompress(SizeMismatch(name));
}

}  // namespace setup
