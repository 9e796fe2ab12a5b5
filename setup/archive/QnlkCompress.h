// TQnlkCompress: writes the setup's archive, lists and extracts its files, copies a
// finished archive onto volumes and copies single files uncompressed.
#pragma once

#include <windows.h>
// The member functions below are named like Windows' macros; every unit that sees
// this header sees them unmacroed.
#undef CopyFile

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ArchiveReader.h"
#include "ArchiveStream.h"
#include "FileHeader.h"
#include "FileSystem.h"
#include "IdlePump.h"
#include "OverwriteDecision.h"
#include "ZlibStream.h"
#include "core/Classes.h"
#include "core/Events.h"
#include "core/Strings.h"
#include "support/Errors.h"

namespace setup {

enum TlzhCommand { lzcOverwrite, lzcOnlyAdd };
const fw::TEnumInfo& CompressionLevelInfo();

class TQnlkCompress;
using TlzhFileStatsEvent = fw::TMethodPtr<void(TQnlkCompress* QnlkCompress, const TlzhFileStats& FileStats)>;
using TlzhNewDiskEvent = fw::TMethodPtr<void(TQnlkCompress* QnlkCompress, int DiskNumber, std::string& Path)>;

// Set by the installable objects when the user cancels a build; an uncompressed copy
// then stops with EUserAbortInstall.
extern bool GBuildCancelled;

// The archive operations reached through the interface.
class IQnlkArchive {
 public:
  virtual void Extract() = 0;
  virtual void ListFiles() = 0;
  virtual void ReadHeaders() = 0;

 protected:
  ~IQnlkArchive() = default;
};

class TQnlkCompress : public fw::TComponent, public IQnlkArchive {
  FW_CLASS(TQnlkCompress, fw::TComponent)
 public:
  static constexpr int kMaxUniqueID = kMaxIndexedID;

  explicit TQnlkCompress(fw::TComponent* AOwner);
  ~TQnlkCompress() override;

  // Published properties.
  bool Abort() const { return FAbort; }
  void SetAbort(bool Value) { FAbort = Value; }
  const std::string& CompressedFile() const { return FCompressedFile; }
  void SetCompressedFile(const std::string& Value);
  TCompressionLevel CompressionLevel() const { return FCompressionLevel; }
  void SetCompressionLevel(TCompressionLevel Value) { FCompressionLevel = Value; }
  const std::string& ExtractDirectory() const { return FExtractDirectory; }
  void SetExtractDirectory(const std::string& Value) { FExtractDirectory = Value; }
  fw::TStrings* FilesToProcess() const { return FFilesToProcess.get(); }
  // Deletes the blank lines from Value, then copies it.
  void SetFilesToProcess(fw::TStrings* Value);
  int32_t Offset() const { return FOffset; }
  void SetOffset(int32_t Value) { FOffset = Value; }
  TOverwriteType Overwrite() const { return FOverwrite; }
  void SetOverwrite(TOverwriteType Value) { FOverwrite = Value; }
  fw::TNotifyEvent OnAborted;
  TlzhFileStatsEvent OnAfterAdding, OnBeforeAdding;
  TlzhFileStatsEvent OnAfterExtracting, OnBeforeExtracting;
  fw::TNotifyEvent OnFullDisk;
  TlzhFileStatsEvent OnListing;
  TlzhNewDiskEvent OnNewDisk;
  TlzhFileStatsEvent OnReplace;
  TlzhFileStatsEvent OnStatus;

  // Public state that event handlers may change.
  std::string TargetFileName;
  bool SkipFile = false;

  int GetFileCount();
  void GetFileStats(int Index, TlzhFileStats& Stats);
  // The index of the header stored for the identifier; -1 when the archive holds no
  // file of that identifier or it lies outside 0..1999.
  int GetHeaderIndexByID(int UniqueID);
  const TFileHeaders& Headers() const { return FHeaders; }
  // The file the last extraction or copy wrote (its last file when it wrote several):
  // path, size and SHA-0 digest of the contents, counted while they were written. An
  // empty path when the last file was skipped or failed.
  const TWrittenFile& LastWritten() const { return FLastWritten; }
  // The record that extraction and copies tell of every file they put in place, and that
  // takes the old files they replace (see TReplacementFile); none by default, and then
  // an old file goes right after it was replaced. The record must outlive its use here.
  void SetReplacementRecord(TReplacementRecord* Record) { FRecord = Record; }
  TReplacementRecord* ReplacementRecord() const { return FRecord; }
  // Called between the blocks of long operations, at most every 20 ms, so that the
  // program can handle its messages; nothing is called without one. A handler may
  // set Abort to stop the operation.
  void SetIdleHandler(TIdlePump::THandler Handler) { FIdle.SetHandler(std::move(Handler)); }

  void ReadHeaders() override;
  void Compress(TlzhCommand Command, int UniqueID);
  void ListFiles() override;
  void Extract() override;
  void SplitToDisks(const std::string& TargetFolder, const std::string& VolumeName);
  void CopyFile(const std::string& Source, const std::string& Target);
  // Opens volume Volume of the archive at Path, asking for the disk when it is missing.
  // The folder of the last answer is looked at too; Path follows the answers.
  void OpenDiskFile(std::unique_ptr<fw::TStream>& Stream, int Volume, TFileOpen Mode, std::string& Path);

  // While a hold lasts, extracting keeps the volume it read from open for the next file
  // instead of opening it once per file; the end of the hold (or another compressed
  // file) closes it. Holds may nest; a null archive is not held.
  class TVolumeHold {
   public:
    explicit TVolumeHold(TQnlkCompress* Archive);
    ~TVolumeHold();
    TVolumeHold(const TVolumeHold&) = delete;
    TVolumeHold& operator=(const TVolumeHold&) = delete;

   private:
    TQnlkCompress* FArchive;
  };

  // A write came up short: OnFullDisk, then EqcDiskFull "The disk is full".
  [[noreturn]] virtual void DoFullDisk();
  // Progress of the compression under way.
  void AddStatus();

 protected:
  // Every write into a volume of SplitToDisks goes through here; a short result means
  // the volume is full.
  virtual size_t WriteVolume(TWinFile& Volume, const void* Buffer, size_t Count);

 private:
  enum TMode { mdNone, mdCompressing, mdExtracting };

  void EnsureHeaders();
  void ForgetHeaders() { FHeadersLoaded = false; }
  void Fire(const TlzhFileStatsEvent& Event) {
    if (Event) Event(this, FStats);
  }
  void Status() { Fire(OnStatus); }
  void CheckAbort();
  void PumpMessages() { FIdle.Poll(); }
  // EqcAborted fires OnAborted and ends quietly, EAbort ends quietly, anything else
  // sets Abort and goes on.
  template <class F>
  void Guarded(F&& Operation, bool QuietEAbort);
  // What to do with an existing target by the decision code: true to write it.
  bool ReplaceDecision(uint8_t Decision);

  // Compress
  void CompressOne(TFileHeader& Header, int Index, int UniqueID, TWinFile& Archive);
  // Extract
  void ExtractOne(const std::string& Line);
  // SplitToDisks
  int CopyChunk(TWinFile& Source, std::unique_ptr<TWinFile>& Target, std::string& Folder, const std::string& VolumeFile,
                int32_t SourceEnd, std::vector<std::string>& Written);

  bool FAbort = false;
  std::string FCompressedFile;
  TCompressionLevel FCompressionLevel = colMax;
  std::string FExtractDirectory;
  int32_t FOffset = 0;
  TOverwriteType FOverwrite = owAlways;
  std::unique_ptr<fw::TStringList> FFilesToProcess;
  TMode FMode = mdNone;
  int FCurrentVolume = 0;
  fw::TStream* FDestFile = nullptr;
  fw::TStream* FSourceFile = nullptr;
  TFileHeader* FCurrentHeader = nullptr;
  int64_t FCompressStart = 0;
  TlzhFileStats FStats;
  bool FHeadersLoaded = false;
  TFileHeaders FHeaders;
  TIdentifierTable FIDs;
  TDiskFiles FFiles;
  TIdlePump FIdle;
  // Made by the first extraction, then kept for the next ones.
  std::unique_ptr<TInflateWorkspace> FInflateWorkspace;
  // The archive file as the last Compress left it: while its size and write time are
  // still those, its header table is FHeaders and an append needs not read it again
  // (reading it for every added file made building quadratic).
  struct TWrittenArchive {
    std::string Path;
    int64_t Size = -1;
    uint64_t WriteTime = 0;
  };
  TWrittenArchive FWritten;
  TWrittenFile FLastWritten;
  TReplacementRecord* FRecord = nullptr;
  // The volume kept open under a hold, and its number.
  int FVolumeHolds = 0;
  std::unique_ptr<fw::TStream> FHeldVolume;
  int FHeldVolumeNumber = 0;
};

template <class F>
void TQnlkCompress::Guarded(F&& Operation, bool QuietEAbort) {
  try {
    Operation();
  } catch (const EqcAborted&) {
    if (OnAborted) OnAborted(this);
  } catch (const fw::EAbort&) {
    if (!QuietEAbort) {
      FAbort = true;
      throw;
    }
  } catch (...) {
    FAbort = true;
    throw;
  }
}

}  // namespace setup
