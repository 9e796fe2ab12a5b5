// TQnlkCompress: properties, headers, listing, volumes and progress. The operations
// that move file data live in QnlkWrite.cpp, QnlkExtract.cpp, QnlkVolumes.cpp and
// QnlkCopy.cpp.
#include "QnlkCompress.h"

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
          .Boolean("Abort", &TQnlkCompress::Abort, &TQnlkCompress::Abort)
          .String("CompressedFile", &TQnlkCompress::CompressedFile, &TQnlkCompress::SetCompressedFile)
          .Enum("CompressionLevel", CompressionLevelInfo(), &TQnlkCompress::CompressionLevel,
                &TQnlkCompress::CompressionLevel)
          .String("ExtractDirectory", &TQnlkCompress::ExtractDirectory, &TQnlkCompress::ExtractDirectory)
          .StringList(
              "FilesToProcess", [](const TQnlkCompress* c) { return c->FilesToProcess()->ToVector(); },
              [](TQnlkCompress* c, const std::vector<std::string>& lines) {
                fw::TStringList list;
                list.SetVector(lines);
                c->SetFilesToProcess(&list);
              })
          .Integer("Offset", &TQnlkCompress::Offset, &TQnlkCompress::Offset)
          .Enum("Overwrite", OverwriteTypeInfo(), &TQnlkCompress::Overwrite, &TQnlkCompress::Overwrite)
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
    : fw::TComponent(AOwner), FFilesToProcess(std::make_unique<fw::TStringList>()) {
  FIDTable.fill(-1);
}

TQnlkCompress::~TQnlkCompress() = default;

void TQnlkCompress::SetCompressedFile(const std::string& Value) {
  if (fw::SameText(Value, FCompressedFile)) return;
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
  if (UniqueID < 0 || UniqueID > kMaxUniqueID) return -1;
  return FIDTable[UniqueID];
}

void TQnlkCompress::ReadHeaders() {
  TWinFile file;
  if (!FileExists(FCompressedFile) || !file.Open(FCompressedFile, TFileOpen::Read))
    throw EQnlkCompress(fw::Format("Cannot open the compressed file %s", FCompressedFile));
  FHeadersLoaded = false;
  FIDTable.fill(-1);
  try {
    FHeaders.LoadFromStream(file, Offset);
  } catch (const fw::Exception&) {
    FHeaders.Clear();
    throw EQnlkCompress(
        "Could not read the file headers for the compressed file. The Archive file could possible be corrupt");
  }
  for (int i = 0; i < FHeaders.GetCount(); ++i) {
    int id = FHeaders[i].UniqueID();
    if (id >= 0 && id <= kMaxUniqueID) FIDTable[id] = i;
  }
  FHeadersLoaded = true;
}

void TQnlkCompress::ListFiles() {
  EnsureHeaders();
  FHeaders.InitFileStats(FStats);
  for (int i = 0; i < FHeaders.GetCount(); ++i) {
    FHeaders[i].GetFileStats(FStats);
    Fire(OnListing);
  }
}

void TQnlkCompress::OpenDiskFile(std::unique_ptr<TWinFile>& Stream, int Volume, TFileOpen Mode, std::string& Path) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    Stream.reset();
    if (FHeaders.MultiVolume == 1) Path = ChangeFileExt(Path, VolumeExtension(Volume));
    if (!FileExists(Path)) {
      if (!OnNewDisk) throw EQnlkCompress(fw::Format("Could not open the correct disk file %d", Volume));
      std::string folder = RemoveTrailingBackslash(ExtractFilePath(Path));
      OnNewDisk(this, Volume, folder);
      Path = IncludeTrailingBackslash(folder) + ExtractFileName(Path);
      continue;
    }
    Stream = std::make_unique<TWinFile>();
    if (!Stream->Open(Path, Mode)) {
      Stream.reset();
      throw EQnlkCompress(fw::Format("Cannot open the compressed file %s", Path));
    }
    return;
  }
  throw EQnlkCompress(fw::Format("Cannot open the compressed file %s", Path));
}

void TQnlkCompress::DoFullDisk() {
  if (OnFullDisk) OnFullDisk(this);
  // Whatever the handler did, the bytes were not written: the operation fails.
  throw EqcDiskFull("The disk is full");
}

void TQnlkCompress::CheckAbort() {
  if (Abort) throw EqcAborted("Operation aborted by user");
}

void TQnlkCompress::AddStatus() {
  CheckAbort();
  ProcessMessages();
  if (FDestFile == nullptr) throw EQnlkCompress("AddStatus has Nil DestFile");
  int64_t done = FSourceFile != nullptr ? FSourceFile->Position() : 0;
  FStats.TotalDone += static_cast<int32_t>(done - FStats.FileDone);
  FStats.FileDone = static_cast<int32_t>(done);
  FStats.CompressedSize = static_cast<int32_t>(FDestFile->Size() - FCompressStart);
  FStats.FilePercent = Percent(FStats.FileDone, FStats.FileSize);
  FStats.TotalPercent = Percent(FStats.TotalDone, FStats.TotalSize);
  Status();
}

bool TQnlkCompress::ReplaceDecision(uint8_t Decision) {
  switch (Decision) {
    case odSame:
    case odKeep: return false;
    case odReplace:
    case odAsk: Fire(OnReplace); return true;
    default: throw EQnlkCompress("Error comparing file versions in TQnlkCompress");
  }
}

size_t TQnlkCompress::WriteVolume(TWinFile& Volume, const void* Buffer, size_t Count) {
  return Volume.Write(Buffer, Count);
}

}  // namespace setup
