#include "FileContainer.h"

#include <cmath>
#include <functional>

#include "Broadcasts.h"
#include "FolderNames.h"
#include "InstallEngine.h"
#include "InstallFile.h"
#include "InstallLists.h"
#include "WaitCursor.h"
#include "archive/ArchiveText.h"
#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "paths/EngineSpecifiers.h"
#include "paths/FileContainerSpecifier.h"
#include "support/PathStrings.h"

namespace setup {

const fw::TEnumInfo& LzhCommandInfo() {
  static const fw::TEnumInfo info{"TlzhCommand", {"lzcOverwrite", "lzcOnlyAdd"}};
  return info;
}

namespace {

// Puts State back to ifsNone when the operation ends, however it ends.
class TStateReset {
 public:
  explicit TStateReset(TFileContainer& Container) : FContainer(Container) {}
  ~TStateReset() { FContainer.SetState(ifsNone); }
  TStateReset(const TStateReset&) = delete;
  TStateReset& operator=(const TStateReset&) = delete;

 private:
  TFileContainer& FContainer;
};

// Calls Action for every installed-file helper of Container, in helper order, in one
// pass over the helpers (counting and indexing them file by file would take a pass each).
template <class F>
void ForEachFile(const TInstallContainer& Container, F&& Action) {
  for (size_t i = 0; i < Container.Helpers().size(); ++i)
    if (auto* file = dynamic_cast<TCustomInstallFile*>(Container.Helpers()[i])) Action(file);
}

template <class F>
bool AnyFile(const TInstallContainer& Container, F&& Test) {
  for (TInstallContainer* helper : Container.Helpers())
    if (auto* file = dynamic_cast<TCustomInstallFile*>(helper); file != nullptr && Test(file)) return true;
  return false;
}

constexpr int kMaxVolumes = 255;  // an archive's headers count volumes in one byte

int32_t ClampToInt32(int64_t Value) {
  if (Value > INT32_MAX) return INT32_MAX;
  if (Value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(Value);
}

// Whatever way an operation leaves: the container is idle again and its listeners hear
// that the operation ended.
struct TOperationEnd {
  TFileContainer& Container;
  ~TOperationEnd() {
    Container.SetState(ifsNone);
    try {
      Container.BroadcastInformation(&Container, icOperationEnded, nullptr);
    } catch (...) {
    }
  }
};

}  // namespace

const fw::TClass& TFileContainer::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TFileContainer>();
  return cls;
}

TFileContainer::TFileContainer(fw::TComponent* AOwner, int ARegisteredType) : TFileRelated(AOwner, ARegisteredType) {
  if (HasPathSpecifier()) FPathSpecifier = TpsFileContainer::CreateForContainer(AOwner, this);
}

TFileContainer::~TFileContainer() {
  FreeFiles();
  if (TpsFileContainer* specifier = FPathSpecifier) {
    FPathSpecifier = nullptr;
    if (!specifier->ComponentState().Contains(fw::csDestroying)) {
      try {
        specifier->Free();
      } catch (...) {
        // The specifier goes with its owner in any case.
      }
    }
  }
}

void TFileContainer::AdoptPathSpecifier(TpsFileContainer* Specifier) {
  if (Specifier == FPathSpecifier) return;
  TpsFileContainer* old = FPathSpecifier;
  FPathSpecifier = Specifier;
  if (Specifier != nullptr) Specifier->FreeNotification(this);
  if (old != nullptr) old->Free();
}

void TFileContainer::ForgetPathSpecifier(const TpsFileContainer* Specifier) {
  if (Specifier == FPathSpecifier) FPathSpecifier = nullptr;
}

void TFileContainer::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TFileRelated::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent != nullptr && AComponent == FPathSpecifier) FPathSpecifier = nullptr;
}

void TFileContainer::FreeFiles() {
  FreeHelpersOfClass(TCustomInstallFile::StaticClass());
}

int TFileContainer::GetFileCount() const {
  return CompCount(TCustomInstallFile::StaticClass());
}

TCustomInstallFile* TFileContainer::GetFile(int Index) const {
  return static_cast<TCustomInstallFile*>(Comp(Index, TCustomInstallFile::StaticClass()));
}

TCustomInstallFile* TFileContainer::FindFileBySource(const std::string& Path) const {
  for (TInstallContainer* helper : Helpers())
    if (auto* file = dynamic_cast<TCustomInstallFile*>(helper);
        file != nullptr && fw::SameText(file->IncludeFromDir() + "\\" + file->FileName(), Path))
      return file;
  return nullptr;
}

bool TFileContainer::HasNetFiles() const {
  return AnyFile(*this, [](TCustomInstallFile* file) { return file->Net(); });
}

bool TFileContainer::NeedsNetArchive() const {
  if (CurrentDistributeType() == dtTraditional) return false;
  return AnyFile(
      *this, [](TCustomInstallFile* file) { return file->Net() && file->Include() && file->NetLocation() == nullptr; });
}

std::string TFileContainer::GetDownloadedArchivePath() const {
  std::string path;
  if (!GetLocalArchiveFile(path))
    throw IEFileContainer(
        "%s has not yet downloaded the archive file and therefore cannot retrieve the path of the archive file",
        Name());
  return path;
}

int64_t TFileContainer::SumFileSizes(bool IncludeAll, bool WithSubContainers) const {
  int64_t sum = 0;
  for (TInstallContainer* helper : Helpers()) {
    if (!IncludeAll && !helper->IsSelected()) continue;
    if (auto* file = dynamic_cast<TCustomInstallFile*>(helper))
      sum += file->UncompressedSize();
    else if (auto* container = dynamic_cast<TFileContainer*>(helper); container != nullptr && WithSubContainers)
      sum += container->GetTotalSize(IncludeAll);
  }
  return sum;
}

int64_t TFileContainer::GetCompressedSize(bool IncludeAll) const {
  int64_t sum = 0;
  for (TInstallContainer* helper : Helpers()) {
    if (!IncludeAll && !helper->IsSelected()) continue;
    if (auto* file = dynamic_cast<TCustomInstallFile*>(helper))
      sum += file->ArchivedSize();
    else if (auto* container = dynamic_cast<TFileContainer*>(helper))
      sum += container->GetCompressedSize(IncludeAll);
  }
  return sum;
}

void TFileContainer::ReadInfoFromArchive() {
  TWaitCursor cursor;
  ForEachFile(*this, [](TCustomInstallFile* file) { file->ReadInfoFromArchive(); });
  for (size_t i = 0; i < Helpers().size(); ++i)
    if (auto* container = dynamic_cast<TFileContainer*>(Helpers()[i])) container->ReadInfoFromArchive();
  SetArchiveInfoRead(true);
}

void TFileContainer::ReadFileInfo() {
  TWaitCursor cursor;
  ForEachFile(*this, [](TCustomInstallFile* file) { file->ReadFileInfo(); });
  for (size_t i = 0; i < Helpers().size(); ++i)
    if (auto* container = dynamic_cast<TFileContainer*>(Helpers()[i])) container->ReadFileInfo();
}

void TFileContainer::DoNewDisk(TCustomInstallFile* File, TDiskParameter& Parameter) {
  if (!OnNewDisk) return;
  std::string path = Parameter.Path;
  OnNewDisk(File, Parameter.DiskNumber, path);
  File->SetTag(1);
  Parameter.Path = path;
}

void TFileContainer::DoReplacing(TCustomInstallFile* File) {
  if (OnReplacing) OnReplacing(File);
  BroadcastInformation(this, icReplacingFile, File);
}

void TFileContainer::DoStatus(TCustomInstallFile* File, TFileStatusParameter& Parameter) {
  if (OnStatus) OnStatus(File, Parameter.Percent, Parameter.TotalPercent);
  Broadcast<icFileStatus>(*this, Parameter);
}

int32_t TFileContainer::TotalPercentOf(int64_t Done) const {
  if (FTotalSize <= 0) return 0;
  return static_cast<int32_t>(std::llround(static_cast<double>(Done) * 100.0 / static_cast<double>(FTotalSize)));
}

void TFileContainer::RelayFileStatus(int Code, fw::TObject* PO) {
  auto* list = dynamic_cast<TInformationList*>(PO);
  if (list == nullptr) throw IEFileContainer("DoInformationEventControl--PO is not a TList object");
  if (list->Items.size() < 2)
    throw IEFileContainer("DoInformationEventControl--Not engouh parameters for status event");
  auto* file = dynamic_cast<TCustomInstallFile*>(list->Items[0]);
  if (file == nullptr) throw IEFileContainer("DoInformationEventControl says bad first parameter");
  auto* parameter = dynamic_cast<TFileStatusParameter*>(list->Items[1]);
  if (parameter == nullptr) throw IEFileContainer("DoInformationEventControl says bad second parameter");
  int64_t done = FDoneBytes + parameter->Size;
  parameter->TotalDone = ClampToInt32(done);
  parameter->TotalPercent = TotalPercentOf(done);
  DoStatus(file, *parameter);
  if (parameter->Stats.Finished && FState != ifsNone) FDoneBytes += parameter->Stats.FileSize;
}

void TFileContainer::RelayDiskRequest(fw::TObject* PO) {
  auto* list = dynamic_cast<TInformationList*>(PO);
  if (list == nullptr) throw IEFileContainer("DoInformationEventControl--PO is not a TList object");
  if (list->Items.size() < 2)
    throw IEFileContainer("DoInformationEventControl--Not engouh parameters for status event");
  auto* file = dynamic_cast<TCustomInstallFile*>(list->Items[0]);
  if (file == nullptr) throw IEFileContainer("DoInformationEventControl says bad %d parameter", 1);
  auto* disk = dynamic_cast<TDiskParameter*>(list->Items[1]);
  if (disk == nullptr) throw IEFileContainer("DoInformationEventControl says bad %d parameter", 2);
  DoNewDisk(file, *disk);
  Broadcast<icNewDisk>(*this, *list);
}

void TFileContainer::RelayFinishedFile(int Code, fw::TObject* PO) {
  auto* file = dynamic_cast<TCustomInstallFile*>(PO);
  if (file == nullptr) throw IEFileContainer("DoInformationEventControl says bad first parameter");
  TFileStatusParameter parameter;
  parameter.Size = file->UncompressedSize();
  parameter.Percent = 100;
  parameter.FileName = file->FileName();
  int64_t done = FDoneBytes + parameter.Size;
  parameter.TotalDone = ClampToInt32(done);
  parameter.TotalPercent = TotalPercentOf(done);
  DoStatus(file, parameter);
  FDoneBytes += parameter.Size;
}

void TFileContainer::DoInformationEventControl(fw::TObject* Sender, int Code, fw::TObject* PO) {
  if (FState == ifsNone) return;
  switch (Code) {
    case irFileReplacing:
    case irInstallProgress:
    case irCompressProgress:
    case irCopyProgress:
    case irDiskRequest:
    case irDownloadStatus:
    case irFileSkipped:
    case irFileKept:
      if (PO == nullptr) throw IEFileContainer("%s got a nil PO parameter", Name());
      break;
    default:
      break;
  }
  switch (Code) {
    case irFileReplacing: {
      auto* file = dynamic_cast<TCustomInstallFile*>(PO);
      if (file == nullptr) throw IEFileContainer("DoInformationEventControl parameter is not TInstallFile");
      DoReplacing(file);
      break;
    }
    case irInstallProgress:
    case irCompressProgress:
    case irCopyProgress:
      RelayFileStatus(Code, PO);
      break;
    case irDiskRequest:
      RelayDiskRequest(PO);
      break;
    case irDownloadStatus: {
      auto* download = dynamic_cast<TDownloadStatusParameter*>(PO);
      if (download == nullptr)
        throw IEFileContainer("The PO object passed to %s is not a TDownloadStatusParameter object", Name());
      if (OnDataReceived)
        OnDataReceived(this, download->FileName, download->Bytes, download->TotalBytes, download->FileSize, nullptr);
      Broadcast<icDownloadStatus>(*this, *download);
      break;
    }
    case irFileSkipped:
    case irFileKept:
      RelayFinishedFile(Code, PO);
      break;
    default:
      break;
  }
  if (Container() != nullptr) Container()->DoInformationEventControl(this, Code, PO);
}

void TFileContainer::RunState(TInstallFileState Value) {
  TStateReset reset(*this);
  switch (Value) {
    case ifsCompress:
      Compress(0);
      break;
    case ifsInstall:
      Process();
      break;
    case ifsCopying:
      CopyFiles();
      break;
    case ifsReflect:
      break;  // the reflection hook has no work in this system
    case ifsNone:
      break;
  }
}

void TFileContainer::Install() {
  TInstallFileState savedState = FState;
  FState = ifsInstall;
  bool wasAborted = false;
  // The destination folders are read once for all the files instead of file by file.
  FTargetNames = std::make_unique<TFolderNames>();
  struct TForgetNames {
    std::unique_ptr<TFolderNames>& Names;
    ~TForgetNames() { Names.reset(); }
  } forgetNames{FTargetNames};
  // The shared archive is opened once for all the files, not file by file.
  TQnlkCompress::TVolumeHold holdArchive(SharedArchive());
  {
    // A failure in these steps puts the state back as it was; the cursor comes back in
    // any case.
    TWaitCursor cursor;
    try {
      std::string local;
      if (GetLocalArchiveFile(local)) SetLocalArchivePath(local);
      ReadInfoFromArchive();
      BroadcastInformation(this, icContainerStarts, nullptr);
      ReportInformation(irContainerStarts, this);
      FTotalSize = GetTotalSize(false);
      FDoneBytes = 0;
      if (OnBeforeInstallObjects) OnBeforeInstallObjects(this);
      TFileRelated::Install();
      ReportInformation(irContainerEnds, this);
    } catch (...) {
      FState = savedState;
      throw;
    }
  }
  wasAborted = SharedArchive() != nullptr && SharedArchive()->Abort();
  {
    TStateReset reset(*this);
    BroadcastInformation(this, icOperationEnded, nullptr);
  }
  if (FFireAfterInstallObjects && OnAfterInstallObjects) OnAfterInstallObjects(this, wasAborted);
}

void TFileContainer::RunOverFiles(bool IncludeAll, const std::function<void()>& Walk) {
  ReportInformation(irContainerStarts, this);
  ReadFileInfo();
  FTotalSize = GetTotalSize(IncludeAll);
  FDoneBytes = 0;
  Walk();
  if (OnAfterProcess) OnAfterProcess(this);
  ReportInformation(irContainerEnds, this);
}

void TFileContainer::CopyFiles() {
  TOperationEnd end{*this};
  FState = ifsCopying;
  if (OnBeforeProcess) OnBeforeProcess(this);
  if (!Include()) return;
  RunOverFiles(false, [this] {
    ForEachFile(*this, [](TCustomInstallFile* file) { file->CopyFile(); });
    for (size_t i = 0; i < Helpers().size(); ++i)
      if (auto* container = dynamic_cast<TFileContainer*>(Helpers()[i])) container->CopyFiles();
  });
}

namespace {

// A helper's archive properties, put back when the step ends.
class TSavedArchiveProperties {
 public:
  explicit TSavedArchiveProperties(TFileRelated& Helper)
      : FHelper(Helper),
        FAddToArchive(Helper.AddToArchive()),
        FArchiveFile(Helper.ArchiveFile()),
        FArchiveFileType(Helper.ArchiveFileType()),
        FInclude(Helper.Include()) {}
  ~TSavedArchiveProperties() {
    FHelper.SetAddToArchive(FAddToArchive);
    FHelper.RestoreArchive(FArchiveFileType, FArchiveFile);
    FHelper.SetInclude(FInclude);
  }
  TSavedArchiveProperties(const TSavedArchiveProperties&) = delete;
  TSavedArchiveProperties& operator=(const TSavedArchiveProperties&) = delete;

 private:
  TFileRelated& FHelper;
  TlzhCommand FAddToArchive;
  std::string FArchiveFile;
  TCustomPathSpecifier* FArchiveFileType;
  bool FInclude;
};

// The folder of the engine's archive (the container's without an engine).
std::string EngineArchiveFolder(const TFileContainer& Container) {
  TInstallEngine* engine = GlobalInstall();
  std::string path = engine != nullptr ? engine->EngineArchivePath() : Container.GetArchivePath();
  return RemoveTrailingBackslash(ExtractFilePath(path));
}

// Path without its drive ("C:" or "\\server\share").
std::string WithoutDrive(const std::string& Path) {
  if (Path.size() >= 2 && Path[1] == ':') return Path.substr(2);
  if (Path.rfind("\\\\", 0) == 0) {
    size_t server = Path.find('\\', 2);
    size_t share = server == std::string::npos ? std::string::npos : Path.find('\\', server + 1);
    return share == std::string::npos ? std::string() : Path.substr(share);
  }
  return Path;
}

}  // namespace

void TFileContainer::Compress(int Options) {
  if ((Options & coForceNetFilesLocal) != 0 && (Options & coForceFilesNet) != 0)
    throw IEFileContainer("Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  TOperationEnd end{*this};
  FState = ifsCompress;
  if (OnBeforeProcess) OnBeforeProcess(this);
  if (!Include()) return;
  bool includeAll = (Options & coIncludeExcluded) != 0;
  RunOverFiles(includeAll, [&] {
    const bool forceLocal = (Options & coForceNetFilesLocal) != 0, forceNet = (Options & coForceFilesNet) != 0;
    std::string folder = RemoveTrailingBackslash(ExtractFilePath(GetArchivePath()));
    auto netArchiveOf = [&](const TFileRelated& Object) {
      return folder + "\\" + Object.GetNetPath() + "\\" + Object.Name() + ".1";
    };
    FNetArchivePath.clear();
    // Without a net install location only a build that keeps net files local goes on.
    if (!forceLocal || GetNetInstallLocation() != nullptr) FNetArchivePath = netArchiveOf(*this);
    if (AddToArchive() == lzcOverwrite) {
      std::string archive = GetArchivePath();
      if (fw::SameText(ChangeFileExt(archive, ".1"), archive)) DeleteArchive(archive, false);
      bool netFiles = HasNetFiles() || (forceNet && GetFileCount() > 0);
      if (netFiles && !FNetArchivePath.empty()) DeleteArchive(FNetArchivePath, true);
    }
    std::vector<std::string> ownArchives;  // install-source archives written by this container's files
    for (size_t i = 0; i < Helpers().size(); ++i) {
      auto* helper = dynamic_cast<TFileRelated*>(Helpers()[i]);
      if (helper == nullptr) continue;
      TSavedArchiveProperties saved(*helper);
      if (includeAll) helper->SetInclude(true);
      auto* container = dynamic_cast<TFileContainer*>(helper);
      auto* file = dynamic_cast<TCustomInstallFile*>(helper);
      TCustomPathSpecifier* specifier = helper->ArchiveFileType();
      bool netFile = file != nullptr && !forceLocal && (file->Net() || forceNet);
      if (file != nullptr) file->CompressInfo().NetFlag = netFile;
      if (netFile) {
        // A file with a location or overwrite rule of its own travels in an archive of
        // its own, made anew; the others are added to the container's net archive.
        bool own = file->UsesOwnArchive();
        if (own && AddToArchive() == lzcOverwrite) DeleteArchive(netArchiveOf(*file), true);
        helper->SetAddToArchive(own ? lzcOverwrite : lzcOnlyAdd);
        helper->RestoreArchive(nullptr, own ? netArchiveOf(*file) : FNetArchivePath);
      } else if ((Options & coOnlyAddNoPath) != 0) {
        helper->SetAddToArchive(lzcOnlyAdd);
        helper->RestoreArchive(nullptr, std::string());
      } else if ((Options & coRelocateArchives) != 0 && dynamic_cast<TpsContainerArchiveFile*>(specifier) != nullptr) {
        helper->SetAddToArchive(lzcOnlyAdd);
      } else if (dynamic_cast<TpsContainerArchiveFile*>(specifier) != nullptr) {
        helper->SetAddToArchive(lzcOnlyAdd);
      } else if (dynamic_cast<TpsInstallSource*>(specifier) != nullptr) {
        std::string target = AddTrailingBackslash(EngineArchiveFolder(*this)) + helper->ArchiveFile();
        if (container == nullptr) {
          for (const std::string& other : ownArchives)
            if (fw::SameText(other, target))
              throw IEFileContainer("%s and another file of %s write the same archive file %s", helper->Name(), Name(),
                                    target);
          ownArchives.push_back(target);
        }
        helper->SetAddToArchive(lzcOverwrite);
        helper->RestoreArchive(nullptr, target);
      } else if ((Options & coRelocateArchives) != 0) {
        std::string target = folder + WithoutDrive(helper->GetArchivePath());
        helper->SetAddToArchive(lzcOverwrite);
        helper->RestoreArchive(nullptr, target);
      }
      if (container != nullptr)
        container->Compress(Options);
      else if (file != nullptr)
        file->Compress();
    }
  });
}

void TFileContainer::DeleteArchive(const std::string& Path, bool WithVolumes) {
  // An archive an installation downloaded is that installation's, whatever its name.
  std::string downloaded;
  if (GetLocalArchiveFile(downloaded) && fw::SameText(downloaded, Path)) return;
  auto remove = [&](const std::string& File) {
    if (!DeleteFileA(File.c_str())) throw IEFileContainer("%s cannot delete the archive file %s", Name(), File);
  };
  if (FileExists(Path)) remove(Path);
  // The volumes of an earlier build would pass for volumes of the new archive.
  for (int volume = 2; WithVolumes && volume <= kMaxVolumes; ++volume) {
    std::string next = ChangeFileExt(Path, "." + std::to_string(volume));
    if (!FileExists(next)) break;
    remove(next);
  }
}

}  // namespace setup
