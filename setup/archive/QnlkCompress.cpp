// TQnlkCompress: properties, headers, listing, volumes and progress. The operations
// that move file data live in QnlkWrite.cpp, QnlkExtract.cpp, QnlkVolumes.cpp and
// QnlkCopy.cpp.
#include "QnlkCompress.h"

#include <utility>

#include "ArchiveText.h"
#include "FileSystem.h"
#include "core/ClassDef.h"
#include "support/Errors.h"
#include "support/PathStrings.h"

namespace setup {

bool GBuildCancelled = false;

const fw::TEnumInfo& CompressionLevelInfo() {
  static const fw::TEnumInfo info{"TCompressionLevel", {"colNone", "colFastest", "colDefault", "colMax"}};
  return info;
}

const fw::TClass& TQnlkCompress::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TQnlkCompress>()
          .Creatable()
          .Boolean("Abort", &TQnlkCompress::Abort, &TQnlkCompress::SetAbort)
          .String("CompressedFile", &TQnlkCompress::CompressedFile, &TQnlkCompress::SetCompressedFile)
          .Enum("CompressionLevel", CompressionLevelInfo(), &TQnlkCompress::CompressionLevel,
                &TQnlkCompress::SetCompressionLevel)
          .String("ExtractDirectory", &TQnlkCompress::ExtractDirectory, &TQnlkCompress::SetExtractDirectory)
          .StringList(
              "FilesToProcess", [](const TQnlkCompress* c) { return c->FilesToProcess()->ToVector(); },
              [](TQnlkCompress* c, const std::vector<std::string>& lines) {
                fw::TStringList list;
                list.SetVector(lines);
                c->SetFilesToProcess(&list);
              })
          .Integer("Offset", &TQnlkCompress::Offset, &TQnlkCompress::SetOffset)
          .Enum("Overwrite", OverwriteTypeInfo(), &TQnlkCompress::Overwrite, &TQnlkCompress::SetOverwrite)
          .Event("OnAborted", &TQnlkCompress::OnAborted)
          .Event("OnAfterAdding", &TQnlkCompress::OnAfterAdding)
          .Event("OnAfterExtracting", &TQnlkCompress::OnAfterExtracting)
          .Event("OnBeforeAdding", &TQnlkCompress::OnBeforeAdding)
          .Event("OnBeforeExtracting", &TQnlkCompress::OnBeforeExtracting)
          .Event("OnFullDisk", &TQnlkCompress::OnFullDisk)
          .Event("OnListing", &TQnlkCompress::OnListing)
          .Event("OnNewDisk", &TQnlkCompress::OnNewDisk)
          .Event("OnReplace", &TQnlkCompress::OnReplace)
          .Event("OnStatus", &TQnlkCompress::OnStatus);
  return cls;
}

TQnlkCompress::TQnlkCompress(fw::TComponent* AOwner)
    : fw::TComponent(AOwner), FFilesToProcess(std::make_unique<fw::TStringList>()) {}

TQnlkCompress::~TQnlkCompress() = default;

TQnlkCompress::TVolumeHold::TVolumeHold(TQnlkCompress* Archive) : FArchive(Archive) {
  if (FArchive != nullptr) ++FArchive->FVolumeHolds;
}

TQnlkCompress::TVolumeHold::~TVolumeHold() {
  if (FArchive != nullptr && --FArchive->FVolumeHolds == 0) FArchive->FHeldVolume.reset();
}

void TQnlkCompress::SetCompressedFile(const std::string& Value) {
  if (fw::SameText(Value, FCompressedFile)) return;
  FHeldVolume.reset();
  if (FHeadersLoaded && !fw::SameText(ChangeFileExt(Value, ".1"), ChangeFileExt(FCompressedFile, ".1")))
    ForgetHeaders();
  FCompressedFile = Value;
}

void TQnlkCompress::SetFilesToProcess(fw::TStrings* Value) {
  for (int i = Value->Count() - 1; i >= 0; --i)
    if (fw::Trim(Value->Strings(i)).empty()) Value->Delete(i);
  FFilesToProcess->Assign(Value);
}

void TQnlkCompress::EnsureHeaders() {
  if (!FHeadersLoaded) ReadHeaders();
}

int TQnlkCompress::GetFileCount() {
  if (FMode != mdCompressing) EnsureHeaders();
  return FHeaders.GetCount();
}

void TQnlkCompress::GetFileStats(int Index, TlzhFileStats& Stats) {
  if (FMode != mdCompressing) EnsureHeaders();
  if (Index < 0 || Index >= FHeaders.GetCount())
    throw EQnlkCompress(fw::Format("Tried to access the %dth file. This file is not defined", Index));
  FHeaders.InitFileStats(Stats);
  FHeaders[Index].GetFileStats(Stats);
}

int TQnlkCompress::GetHeaderIndexByID(int UniqueID) {
  EnsureHeaders();
  return FIDs.Find(UniqueID);
}

void TQnlkCompress::ReadHeaders() {
  std::unique_ptr<fw::TStream> file;
  if (FFiles.Exists(FCompressedFile)) file = FFiles.Open(FCompressedFile, TFileOpen::Read);
  if (!file) throw EQnlkCompress(fw::Format("Cannot open the compressed file %s", FCompressedFile));
  FHeadersLoaded = false;
  // Read again from the file the last Compress wrote, the headers still describe it.
  const TWrittenArchive written = std::exchange(FWritten, TWrittenArchive());
  LoadArchiveHeaders(*file, FOffset, FHeaders, FIDs);
  FHeadersLoaded = true;
  if (FOffset == 0 && FHeaders.MultiVolume == 0 && fw::SameText(written.Path, FCompressedFile)) FWritten = written;
}

void TQnlkCompress::ListFiles() {
  EnsureHeaders();
  FHeaders.InitFileStats(FStats);
  for (int i = 0; i < FHeaders.GetCount(); ++i) {
    FHeaders[i].GetFileStats(FStats);
    Fire(OnListing);
  }
}

void TQnlkCompress::OpenDiskFile(std::unique_ptr<fw::TStream>& Stream, int Volume, TFileOpen Mode, std::string& Path) {
  Stream.reset();
  TAskForDisk ask;
  if (OnNewDisk) ask = [this](int Disk, std::string& Folder) { OnNewDisk(this, Disk, Folder); };
  Stream = OpenVolume(FFiles, FHeaders.MultiVolume == 1, Volume, Mode, Path, ask);
}

void TQnlkCompress::DoFullDisk() {
  if (OnFullDisk) OnFullDisk(this);
  // Whatever the handler did, the bytes were not written: the operation fails.
  throw EqcDiskFull("The disk is full");
}

void TQnlkCompress::CheckAbort() {
  if (FAbort) throw EqcAborted("Operation aborted by user");
}

void TQnlkCompress::AddStatus() {
  CheckAbort();
  PumpMessages();
  if (FDestFile == nullptr) throw EQnlkCompress("AddStatus has Nil DestFile");
  int64_t done = FSourceFile != nullptr ? FSourceFile->Position() : 0;
  FStats.TotalDone += done - FStats.FileDone;
  FStats.FileDone = done;
  FStats.CompressedSize = FDestFile->Size() - FCompressStart;
  FStats.FilePercent = Percent(FStats.FileDone, FStats.FileSize);
  FStats.TotalPercent = Percent(FStats.TotalDone, FStats.TotalSize);
  Status();
}

bool TQnlkCompress::ReplaceDecision(uint8_t Decision) {
  switch (Decision) {
    case odSame:
    case odKeep:
      return false;
    case odReplace:
    case odAsk:
      Fire(OnReplace);
      return true;
    default:
      throw EQnlkCompress("Error comparing file versions in TQnlkCompress");
  }
}

size_t TQnlkCompress::WriteVolume(TWinFile& Volume, const void* Buffer, size_t Count) {
  return Volume.Write(Buffer, Count);
}

}  // namespace setup
