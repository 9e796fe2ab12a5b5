#include "FileRelated.h"

#include "Broadcasts.h"
#include "InstallEngine.h"
#include "InstallLists.h"
#include "NetInstallLocation.h"
#include "StatusParameters.h"
#include "archive/ArchiveText.h"
#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "paths/EngineSpecifiers.h"
#include "support/PathStrings.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

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
  // Without an installation record there is nothing remembered (and no key to look in).
  if (fw::Trim(Name()).empty() || InstallRecordKey() == nullptr || InstallRecordKey()->empty()) return false;
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
  if (InstallRecordKey() == nullptr || InstallRecordKey()->empty()) return;
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

INetInstallLocation* TFileRelated::GetNetInstallLocation() const {
  if (FNetLocation != nullptr) return FNetLocation;
  TInstallEngine* engine = GlobalInstall();
  INetInstallLocation* engineLocation = engine != nullptr ? engine->EngineNetInstallLocation() : nullptr;
  // An installed file asks its file container first; in any other container it has none.
  if (RegisteredType() == rtInstallFile && Container() != nullptr) {
    auto* container = dynamic_cast<const TFileRelated*>(Container());
    if (container == nullptr || !Container()->IsFileContainer()) return nullptr;
    return container->NetLocation() != nullptr ? container->NetLocation() : engineLocation;
  }
  return engineLocation;
}

std::string TFileRelated::GetNetPath() const {
  INetInstallLocation* location = GetNetInstallLocation();
  if (location == nullptr) throw IEFileRelated("Could not find a net install location for %s", Name());
  std::string host = StripInvalidFileNameChars(location->Hostname());
  std::string directory = fw::Trim(location->Directory());
  if (!directory.empty()) return host + "\\" + StripInvalidFileNameChars(directory);
  return host + "\\" + (location->Protocol() == ipFTP ? "FTP Root directory" : "HTTP Root directory");
}

void TFileRelated::DownloadArchive() {
  std::string earlier;
  if (GetLocalArchiveFile(earlier)) {
    FLocalArchivePath = earlier;
    return;
  }
  INetInstallLocation* location = GetNetInstallLocation();
  if (location == nullptr) throw IEFileRelated("Could not find a net install location for %s", Name());
  if (!location->LoginInformationUsable()) {
    if (FNetLocation != nullptr)
      throw IEFileRelated(
          "%s could not install itself because the TNetLocation component's properties, in the NetLocation "
          "property, have not been filled in",
          Name());
    throw IEFileRelated(
        "%s could not install itself because the LoginInformation property of the TInstall component has not been "
        "properly filled in",
        Name());
  }
  std::string local = ChangeFileExt(GetTempFile(false), ".1");
  FLocalArchivePath = local;
  auto discard = [&] {
    DeleteFileA(local.c_str());
    FLocalArchivePath.clear();
  };
  TQnlkCompress* shared = SharedArchive();
  try {
    location->DownloadFile(Name() + ".1", local, TDataReceivedEvent(this, &TFileRelated::DoDataReceived));
  } catch (...) {
    discard();
    if (shared != nullptr && shared->Abort()) throw EAIUserAbort();
    throw;
  }
  if (shared != nullptr && shared->Abort()) {
    discard();
    throw EAIUserAbort();
  }
  if (!IsDesignTime(this)) SaveLocalArchiveFile(local);
}

void TFileRelated::Loaded() {
  if (FArchiveFileTypeDefaulted && !FArchiveFileTypeAssigned) SetArchiveFileType(nullptr);
  FArchiveFileTypeDefaulted = false;
  TInstallObject::Loaded();
  std::string path;
  if (GetLocalArchiveFile(path)) FLocalArchivePath = path;
}

void TFileRelated::SetNetLocation(INetInstallLocation* Value) {
  FNetLocation = Value;
  FNetLocationComponent = dynamic_cast<fw::TComponent*>(Value);
  if (FNetLocationComponent != nullptr) FNetLocationComponent->FreeNotification(this);
}

void TFileRelated::SetNetLocationComponent(fw::TComponent* Value) {
  auto* location = dynamic_cast<INetInstallLocation*>(Value);
  if (Value != nullptr && location == nullptr)
    throw IEFileRelated("%s cannot take %s as its NetLocation: it is no net install location", Name(), Value->Name());
  SetNetLocation(location);
}

void TFileRelated::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent != nullptr && AComponent == FNetLocationComponent) {
    FNetLocation = nullptr;
    FNetLocationComponent = nullptr;
  }
  if (Operation == fw::opRemove && AComponent != nullptr && AComponent == FArchiveFileType) FArchiveFileType = nullptr;
}

}  // namespace setup
