// Copying a single-file archive onto a set of volumes (floppy disks).
#include <windows.h>

#include "ArchiveText.h"
#include "FileSystem.h"
#include "QnlkCompress.h"

namespace setup {

namespace {
constexpr size_t kChunk = 8192;
constexpr int kMaxVolume = 255;  // the headers keep volume numbers in one byte

// Raised when the archive would need a 256th volume; the split then removes its volumes.
FW_EXCEPTION(ETooManyVolumes, EQnlkCompress);
}  // namespace

void TQnlkCompress::SplitToDisks(const std::string& TargetFolder, const std::string& VolumeName) {
  FAbort = false;
  FHeldVolume.reset();
  FWritten = TWrittenArchive();  // the headers are about to describe the volumes
  struct TCleanup {
    TQnlkCompress& c;
    // The loaded headers now describe the volume set, not CompressedFile.
    ~TCleanup() {
      c.ForgetHeaders();
      c.FCurrentHeader = nullptr;
    }
  } cleanup{*this};

  Guarded(
      [&] {
        EnsureHeaders();
        FCurrentVolume = 1;
        FHeaders.MultiVolume = 1;
        FHeaders.InitFileStats(FStats);

        TWinFile source;
        // The source is only read: a setup on a read-only medium splits too.
        if (!source.Open(FCompressedFile, TFileOpen::Read))
          throw EQnlkCompress(fw::Format("Cannot open the compressed file %s", FCompressedFile));
        std::string folder = TargetFolder;
        const std::string volumeFile = ExtractFileName(VolumeName);
        std::string firstVolume = IncludeTrailingBackslash(folder) + volumeFile;
        auto target = std::make_unique<TWinFile>();
        if (!target->Open(firstVolume, TFileOpen::Create))
          throw EQnlkCompress(fw::Format("Cannot create the file %s", firstVolume));
        std::vector<std::string> written{firstVolume};
        FHeaders.SaveToStream(*target);

        for (int i = 0; i < FHeaders.GetCount(); ++i) {
          TFileHeader& header = FHeaders[i];
          FCurrentHeader = &header;
          header.GetFileStats(FStats);
          const int32_t sourceStart = header.DataStart(), sourceEnd = header.EndPosition();
          int64_t from = int64_t(FOffset) + sourceStart;
          if (source.Seek(from, fw::soBeginning) != from)
            throw EQnlkCompress(
                "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
          header.SetDataStart(static_cast<int32_t>(target->Position()));
          header.SetFirstVolume(static_cast<uint8_t>(FCurrentVolume));
          try {
            while (CopyChunk(source, target, folder, volumeFile, sourceEnd, written) > 0) {
            }
          } catch (const ETooManyVolumes&) {
            // A set that cannot be read back is no use: none of it stays behind.
            target.reset();
            for (const std::string& volume : written) DeleteFileA(volume.c_str());
            throw;
          }
          header.SetEndPosition(static_cast<int32_t>(target->Position() - 1));
          header.SetLastVolume(static_cast<uint8_t>(FCurrentVolume));
        }
        target.reset();

        // The final positions go into the first volume's header table.
        std::unique_ptr<fw::TStream> first;
        OpenDiskFile(first, 1, TFileOpen::ReadWrite, firstVolume);
        FHeaders.SaveToStream(*first);
      },
      false);
}

int TQnlkCompress::CopyChunk(TWinFile& Source, std::unique_ptr<TWinFile>& Target, std::string& Folder,
                             const std::string& VolumeFile, int32_t SourceEnd, std::vector<std::string>& Written) {
  CheckAbort();
  int64_t left = int64_t(FOffset) + SourceEnd + 1 - Source.Position();
  if (left <= 0) return 0;
  uint8_t chunk[kChunk];
  size_t n = Source.Read(chunk, static_cast<size_t>(std::min<int64_t>(left, kChunk)));
  if (n == 0)
    throw EQnlkCompress(
        "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
  PumpMessages();
  size_t written = WriteVolume(*Target, chunk, n);
  if (written < n) {
    // The volume is full: the rest goes onto the next one.
    Target.reset();
    ++FCurrentVolume;
    if (!OnNewDisk)
      throw EQnlkCompress(
          "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
    if (FCurrentVolume > kMaxVolume)
      throw ETooManyVolumes(fw::Format(
          "The archive does not fit on %d volumes, the most a volume set can have; no volume was kept", kMaxVolume));
    OnNewDisk(this, FCurrentVolume, Folder);
    std::string next = IncludeTrailingBackslash(Folder) + ChangeFileExt(VolumeFile, VolumeExtension(FCurrentVolume));
    Target = std::make_unique<TWinFile>();
    if (!Target->Open(next, TFileOpen::Create)) throw EQnlkCompress(fw::Format("Cannot create the file %s", next));
    Written.push_back(next);
    if (WriteVolume(*Target, chunk + written, n - written) < n - written)
      throw EQnlkCompress("There is too little space on this disk to operate");
  }
  FStats.FileDone += static_cast<int64_t>(n);
  FStats.TotalDone += static_cast<int64_t>(n);
  FStats.FilePercent = Percent(FStats.FileDone, FStats.CompressedSize);
  FStats.TotalPercent = Percent(FStats.TotalDone, FStats.TotalCompressed);
  Status();
  return static_cast<int>(n);
}

}  // namespace setup
