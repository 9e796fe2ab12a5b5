#include "FileRelated.h"

#include "Broadcasts.h"
#include "InstallLists.h"
#include "StatusParameters.h"
#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "paths/EngineSpecifiers.h"
#include "support/PathStrings.h"
#include "support/Registry.h"

namespace setup {

TCustomPathSpecifier* StandardContainerArchiveFile() {
  TStandardPathSpecList* list = StandardPathSpecifiers();
  return list != nullptr ? list->Find(TpsContainerArchiveFile::StaticClass()) : nullptr;
}

const fw::TClass& TFileRelated::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TFileRelated>();
  return cls;
}

TFileRelated::TFileRelated(fw::TComponent* AOwner, int ARegisteredType) : TInstallObject(AOwner, ARegisteredType) {
  SetInstalledByContainer(true);
  if (ContainerDefaulted()) {
    StoreArchiveFileType(StandardContainerArchiveFile());
    FArchiveFileTypeDefaulted = true;
    FArchiveFile.clear();
  }
}

bool TFileRelated::NamesArchiveItself(const TCustomPathSpecifier* Specifier) {
  return dynamic_cast<const TpsContainerArchiveFile*>(Specifier) != nullptr ||
         dynamic_cast<const TpsMainArchiveFile*>(Specifier) != nullptr;
}

void TFileRelated::SetArchiveFile(const std::string& Value) {
  FArchiveFile = !IsLoading() && NamesArchiveItself(FArchiveFileType) ? std::string() : Value;
}

void TFileRelated::StoreArchiveFileType(TCustomPathSpecifier* Value) {
  FArchiveFileType = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TFileRelated::SetArchiveFileType(TCustomPathSpecifier* Value) {
  FArchiveFileTypeAssigned = true;
  if (!IsLoading() && Value != nullptr) {
    Value->ValidateObject(this);
    if (NamesArchiveItself(Value)) FArchiveFile.clear();
  }
  StoreArchiveFileType(Value);
}

std::string TFileRelated::GetArchivePath() const {
  std::string path = FArchiveFileType != nullptr
                         ? FArchiveFileType->GetPath(const_cast<TFileRelated*>(this)) + FArchiveFile
                         : FArchiveFile;
  return RemoveTrailingBackslash(path);
}

void TFileRelated::SetContainer(TInstallContainer* Value) {
  if (Value == Container()) {
    TInstallObject::SetContainer(Value);  // marks the container assigned
    return;
  }
  TInstallObject::SetContainer(Value);
  if (IsLoading()) return;
  if (dynamic_cast<TFileRelated*>(Value) != nullptr) {
    if (TCustomPathSpecifier* specifier = StandardContainerArchiveFile()) {
      SetArchiveFileType(specifier);
      FArchiveFile.clear();
    }
  } else if (dynamic_cast<TpsContainerArchiveFile*>(FArchiveFileType) != nullptr) {
    SetArchiveFileType(nullptr);
  }
}

std::string TFileRelated::LocalFileKey() const {
  const std::string* record = InstallRecordKey();
  return AddTrailingBackslash(record != nullptr ? *record : std::string()) + Name();
}

bool TFileRelated::GetLocalArchiveFile(std::string& Path) const {
  if (fw::Trim(Name()).empty()) return false;
  std::string value = ReadRegString(hkLocalMachine, LocalFileKey(), kLocalFileValue, std::string());
  if (fw::Trim(value).empty() || !FileExists(value)) return false;
  Path = value;
  return true;
}

bool TFileRelated::IsArchiveDownloaded() const {
  std::string path;
  return !fw::Trim(FLocalArchivePath).empty() || GetLocalArchiveFile(path);
}

void TFileRelated::SaveLocalArchiveFile(const std::string& Path) {
  if (fw::Trim(Name()).empty() || fw::Trim(Path).empty()) return;
  try {
    WriteRegString(hkLocalMachine, LocalFileKey(), kLocalFileValue, Path);
  } catch (const fw::Exception&) {
    // The next run downloads the archive again.
  }
}

void TFileRelated::DoDataReceived(fw::TObject* Sender, const std::string& FileName, int Bytes, int TotalBytes,
                                  int FileSize, const char* Buffer) {
  TDownloadStatusParameter parameter(Bytes, FileName, FileSize, TotalBytes);
  if (OnDataReceived) OnDataReceived(Sender, FileName, Bytes, TotalBytes, FileSize, Buffer);
  Broadcast<icDownloadStatus>(*this, parameter);
  Report<irDownloadStatus>(*this, parameter);
}

void TFileRelated::Loaded() {
  if (FArchiveFileTypeDefaulted && !FArchiveFileTypeAssigned) SetArchiveFileType(nullptr);
  FArchiveFileTypeDefaulted = false;
  TInstallObject::Loaded();
  std::string path;
  if (GetLocalArchiveFile(path)) FLocalArchivePath = path;
}

void TFileRelated::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent != nullptr && AComponent == FArchiveFileType) FArchiveFileType = nullptr;
}

}  // namespace setup
