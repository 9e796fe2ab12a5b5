// Copying a file uncompressed, for the files of a build that are not archived.
#include "ArchiveText.h"
#include "DigestingStream.h"
#include "FileSystem.h"
#include "QnlkCompress.h"
#include "VersionResource.h"

namespace setup {

namespace {
constexpr size_t kCopyBlock = 8192;
}

void TQnlkCompress::CopyFile(const std::string& Source, const std::string& Target) {
  FAbort = false;
  FOffset = 0;
  FExtractDirectory = ExtractFilePath(Target);
  TargetFileName = ExtractFileName(Target);
  // The name is this copy's only: a later extraction names its files itself.
  struct TCleanup {
    std::string& name;
    ~TCleanup() { name.clear(); }
  } cleanup{TargetFileName};

  FLastWritten = TWrittenFile();
  FStats = TlzhFileStats();
  FStats.FileName = Source;
  std::string target = Target;
  if (FileExists(target)) {
    if (!ReplaceDecision(TVersionResource::IsFileNewerByName(Source, target, OverwriteModeToVersionMode(FOverwrite))))
      return;
    target = IncludeTrailingBackslash(FExtractDirectory) + TargetFileName;
  }

  TWinFile source;
  if (!source.Open(Source, TFileOpen::Read)) throw EQnlkCompress(fw::Format("Cannot open the file %s", Source));
  FStats.FileSize = source.Size();
  uint32_t stamp = source.DosDateTime();
  // The copy replaces the target only when it is whole: a cancel or a full disk
  // leaves the old target as it was and no part of a file behind.
  TReplacementFile output(target);
  if (!output.Create()) throw EQnlkCompress(CannotCreateFileText(target, GetLastError()));
  TDigestingStream contents(output.Stream());
  uint8_t block[kCopyBlock];
  for (;;) {
    CheckAbort();
    if (GBuildCancelled) throw EUserAbortInstall();
    size_t n = source.Read(block, sizeof block);
    if (n > 0 && contents.Write(block, n) != n) {
      try {
        DoFullDisk();
      } catch (const EqcDiskFull&) {
        throw EqcDiskFull(DiskFullText(target));
      }
    }
    FStats.FileDone += static_cast<int64_t>(n);
    FStats.TotalDone += static_cast<int64_t>(n);
    FStats.FilePercent = FStats.TotalPercent = Percent(FStats.FileDone, FStats.FileSize);
    Status();
    PumpMessages();
    if (n < sizeof block) break;
  }
  if (stamp != 0) output.SetDosDateTime(stamp);
  if (!output.Commit(FRecord)) throw EQnlkCompress(CannotCreateFileText(target, GetLastError()));
  FLastWritten = {target, contents.Written(), contents.Final()};
  FStats.Finished = true;
  Status();
}

}  // namespace setup
