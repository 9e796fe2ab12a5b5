// Extracting files from the archive, across volumes, with the overwrite decision.
#include <algorithm>
#include <optional>
#include <vector>

#include "ArchiveText.h"
#include "DigestingStream.h"
#include "FileSystem.h"
#include "QnlkCompress.h"
#include "VersionResource.h"

namespace setup {

void TQnlkCompress::Extract() {
  FAbort = false;
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
        FHeaders.InitFileStats(FStats);
        FHeaders.GetTotals(FStats);
        for (const std::string& line : FFilesToProcess->ToVector()) ExtractOne(line);
      },
      true);
}

void TQnlkCompress::ExtractOne(const std::string& Line) {
  SkipFile = false;
  FLastWritten = TWrittenFile();
  int index = FHeaders.IndexOfName(Line);
  if (index < 0)
    throw EQnlkCompress(fw::Format("The file <%s> was not found in the archive <%s>", Line, FCompressedFile));
  TFileHeader& header = FHeaders[index];
  FCurrentHeader = &header;
  header.GetFileStats(FStats);

  if (fw::Trim(TargetFileName).empty()) TargetFileName = ExtractFileName(header.Name());
  Fire(OnBeforeExtracting);
  std::string target = IncludeTrailingBackslash(FExtractDirectory) + ExtractFileName(TargetFileName);
  // A target that does not exist yet is made at once under its own name: nothing to
  // decide and no old file to keep. An existing one goes through the overwrite
  // decision and is replaced only by a whole new file written beside it.
  std::optional<TReplacementFile> output;
  bool write = true;
  if (!SkipFile) {
    ForceDirectories(ExtractFilePath(target));
    output.emplace(target);
    if (!output->CreateInPlace()) output.reset();
  }
  if (!output) {
    if (FileExists(target)) {
      write = ReplaceDecision(TVersionResource::IsFileNewerByVersion(
          header.FileVersion(), target, OverwriteModeToVersionMode(FOverwrite), header.Date()));
      if (write) target = IncludeTrailingBackslash(FExtractDirectory) + ExtractFileName(TargetFileName);
    }
    if (SkipFile) write = false;
    if (write) {
      ForceDirectories(ExtractFilePath(target));
      output.emplace(target);
      if (!output->Create()) throw EQnlkCompress(CannotCreateFileText(target, GetLastError()));
    }
  }

  if (write) {
    const int firstVolume = std::max<int>(1, header.FirstVolume());
    std::unique_ptr<fw::TStream> volume;
    if (FHeldVolume && FHeldVolumeNumber == firstVolume)
      volume = std::move(FHeldVolume);
    else {
      FHeldVolume.reset();
      OpenDiskFile(volume, firstVolume, TFileOpen::Read, FCompressedFile);
    }
    TInflateHooks hooks;
    hooks.OnBlock = [this](size_t Produced) {
      CheckAbort();
      PumpMessages();
      FStats.FileDone += static_cast<int64_t>(Produced);
      FStats.TotalDone += static_cast<int64_t>(Produced);
      FStats.FilePercent = Percent(FStats.FileDone, FStats.FileSize);
      FStats.TotalPercent = Percent(FStats.TotalDone, FStats.TotalSize);
      Status();
    };
    hooks.OnWriteShort = [this] { DoFullDisk(); };
    hooks.OpenNextVolume = [this](int Volume) {
      std::unique_ptr<fw::TStream> next;
      OpenDiskFile(next, Volume, TFileOpen::Read, FCompressedFile);
      return next;
    };
    if (!FInflateWorkspace) FInflateWorkspace = std::make_unique<TInflateWorkspace>();
    try {
      TDigestingStream contents(output->Stream());
      InflateFile(header, FOffset, volume, contents, hooks, *FInflateWorkspace);
      // A file that ends on the volume it starts on leaves that volume as it was.
      if (FVolumeHolds > 0 && std::max<int>(1, header.LastVolume()) == firstVolume) {
        FHeldVolume = std::move(volume);
        FHeldVolumeNumber = firstVolume;
      }
      volume.reset();
      uint32_t stamp = DateTimeToDosDateTime(header.Date());
      if (stamp != 0 && !output->SetDosDateTime(stamp))
        throw EQnlkCompress("Cannot set the date of the file just extracted.");
      if (!output->Commit(FRecord)) {
        const DWORD error = GetLastError();
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) DoFullDisk();
        throw EQnlkCompress(CannotCreateFileText(target, error));
      }
      FLastWritten = {target, contents.Written(), contents.Final()};
    } catch (const EqcDiskFull&) {
      throw EqcDiskFull(DiskFullText(target));
    }
  }
  FStats.Finished = true;
  Status();
  TargetFileName.clear();
}

}  // namespace setup
