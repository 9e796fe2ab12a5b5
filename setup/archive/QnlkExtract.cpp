// Extracting files from the archive, across volumes, with the overwrite decision.
#include <algorithm>
#include <vector>

#include "ArchiveText.h"
#include "FileSystem.h"
#include "QnlkCompress.h"
#include "VersionResource.h"

namespace setup {

namespace {
constexpr size_t kInputBlock = 65536;
constexpr size_t kOutputBlock = 4096;

// Collects the small inflated blocks and hands the file system larger writes.
class TWriteBehind {
 public:
  TWriteBehind(TWinFile& Target, TQnlkCompress& Owner) : FTarget(Target), FOwner(Owner) { FBuffer.reserve(65536); }
  void Write(const uint8_t* Data, size_t Count) {
    if (FBuffer.size() + Count > FBuffer.capacity()) Flush();
    FBuffer.insert(FBuffer.end(), Data, Data + Count);
  }
  void Flush() {
    if (!FBuffer.empty() && FTarget.Write(FBuffer.data(), FBuffer.size()) != FBuffer.size()) FOwner.DoFullDisk();
    FBuffer.clear();
  }

 private:
  TWinFile& FTarget;
  TQnlkCompress& FOwner;
  std::vector<uint8_t> FBuffer;
};

std::string SizeMismatch(const std::string& Name) {
  return fw::Format("The decompressed file's size does not match with the actual size of the file.  The file is %s",
                    Name);
}
}  // namespace

void TQnlkCompress::Extract() {
  Abort = false;
  FMode = mdExtracting;
  struct TCleanup {
    TQnlkCompress& c;
    ~TCleanup() {
      c.FFilesToProcess->Clear();
      c.TargetFileName.clear();
      c.FMode = mdNone;
      c.FCurrentHeader = nullptr;
    }
  } cleanup{*this};

  Guarded(
      [&] {
        EnsureHeaders();
        FCurrentVolume = 0;
        FHeaders.InitFileStats(FStats);
        FHeaders.GetTotals(FStats);
        for (const std::string& line : FFilesToProcess->ToVector()) ExtractOne(line);
      },
      true);
}

void TQnlkCompress::ExtractOne(const std::string& Line) {
  SkipFile = false;
  int index = FHeaders.IndexOfName(Line);
  if (index < 0)
    throw EQnlkCompress(fw::Format("The file <%s> was not found in the archive <%s>", Line, FCompressedFile));
  TFileHeader& header = FHeaders[index];
  FCurrentHeader = &header;
  header.GetFileStats(FStats);

  if (fw::Trim(TargetFileName).empty()) TargetFileName = ExtractFileName(header.Name());
  Fire(OnBeforeExtracting);
  std::string target = IncludeTrailingBackslash(ExtractDirectory) + ExtractFileName(TargetFileName);
  bool write = true;
  if (FileExists(target)) {
    write = ReplaceDecision(TVersionResource::IsFileNewerByVersion(
        header.FileVersion(), target, OverwriteTypeToVersionMode(Overwrite), header.Date()));
    if (write) target = IncludeTrailingBackslash(ExtractDirectory) + ExtractFileName(TargetFileName);
  }
  if (SkipFile) write = false;

  if (write) {
    std::unique_ptr<TWinFile> volume;
    OpenDiskFile(volume, std::max<int>(1, header.FirstVolume()), TFileOpen::Read, FCompressedFile);
    FCurrentVolume = header.FirstVolume();
    ForceDirectories(ExtractFilePath(target));
    // The data goes to a new file beside the target, which replaces the target only
    // once it is whole; on any failure the old target stays as it was.
    TReplacementFile output(target);
    if (!output.Create()) throw EQnlkCompress(fw::Format("Cannot create the file %s", target));
    int64_t start = int64_t(Offset) + header.DataStart();
    if (volume->Seek(start, fw::soBeginning) != start) throw EQnlkCompress(SizeMismatch(header.Name()));
    InflateInto(header, volume, output.Stream());
    volume.reset();
    if (output.Stream().Size() != header.UncompressedSize()) throw EQnlkCompress(SizeMismatch(header.Name()));
    uint32_t stamp = DateTimeToDosDateTime(header.Date());
    if (stamp != 0 && !output.Stream().SetDosDateTime(stamp))
      throw EQnlkCompress("Cannot set the date of the file just extracted.");
    if (!output.Commit()) throw EQnlkCompress(fw::Format("Cannot create the file %s", target));
  }
  FStats.Finished = true;
  Status();
  TargetFileName.clear();
}

void TQnlkCompress::InflateInto(TFileHeader& Header, std::unique_ptr<TWinFile>& Volume, TWinFile& Target) {
  TInflater inflater;
  z_stream& z = inflater.Rec();
  std::vector<uint8_t> input(kInputBlock);
  uint8_t block[kOutputBlock];
  TWriteBehind output(Target, *this);
  const int lastVolume = Header.LastVolume();
  bool ended = false;

  auto readInput = [&]() -> size_t {
    size_t want = input.size();
    if (FCurrentVolume == lastVolume) {
      int64_t left = int64_t(Offset) + Header.EndPosition() + 1 - Volume->Position();
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
        if (result < 0) throw fw::Exception("error");
        if (result == Z_STREAM_END) ended = true;
      }
      size_t produced = kOutputBlock - z.avail_out;
      if (produced == 0) break;
      // More data than the header announces: damaged, and not worth filling a disk with.
      if (int64_t(FStats.FileDone) + int64_t(produced) > Header.UncompressedSize())
        throw EQnlkCompress(SizeMismatch(Header.Name()));
      CheckAbort();
      ProcessMessages();
      output.Write(block, produced);
      FStats.FileDone += static_cast<int32_t>(produced);
      FStats.TotalDone += static_cast<int32_t>(produced);
      FStats.FilePercent = Percent(FStats.FileDone, FStats.FileSize);
      FStats.TotalPercent = Percent(FStats.TotalDone, FStats.TotalSize);
      Status();
    }
    if (ended || FCurrentVolume >= lastVolume) break;
    ++FCurrentVolume;
    OpenDiskFile(Volume, FCurrentVolume, TFileOpen::Read, FCompressedFile);
  }
  output.Flush();
  // Data that stops before the end of its zlib stream is incomplete, even when the
  // byte count happens to fit.
  if (!ended) throw EQnlkCompress(SizeMismatch(Header.Name()));
}

}  // namespace setup
