#include "InstallFile.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "Broadcasts.h"
#include "FileContainer.h"
#include "FileRegistration.h"
#include "FileReplacement.h"
#include "FolderNames.h"
#include "InstallEngine.h"
#include "InstallFileProperties.h"
#include "InstallGroups.h"
#include "InstallLists.h"
#include "InstallRunJournal.h"
#include "UninstallFileLog.h"
#include "archive/ArchiveText.h"
#include "archive/FileSystem.h"
#include "archive/VersionResource.h"
#include "core/ClassDef.h"
#include "paths/EngineSpecifiers.h"
#include "paths/FileContainerSpecifier.h"
#include "paths/StandardSpecifiers.h"
#include "support/PathStrings.h"
#include "support/Registry.h"

namespace setup {

const fw::TEnumInfo& InstallFileTypeInfo() {
  static const fw::TEnumInfo info{
      "TInstallFileType",
      {"iftNormal", "iftJustADLL", "iftApplicationSpecificDLL", "iftVendorSharedDLL", "iftSystemWideDLL"}};
  return info;
}

const fw::TEnumInfo& QnlkFileAttributesInfo() {
  static const fw::TEnumInfo info{"TQnlkFileAttributes",
                                  {"qfaArchive", "qfaCompressed", "qfaDirectory", "qfaHidden", "qfaNormal",
                                   "qfaOffline", "qfaReadOnly", "qfaSystem", "qfaTemporary"}};
  return info;
}

namespace {

constexpr char kBlankDestination[] =
    "Cannot compress,copy, or install the following file because it's destination directory is blank. File is :%s";
constexpr char kBlankArchive[] =
    "Cannot either compress or decompress the following file because it's archive file property is blank. File is "
    ":%s";

std::string UpperExtension(const std::string& Name) {
  std::string name = ExtractFileName(Name);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : fw::UpperCase(name.substr(dot));
}

TCustomPathSpecifier* StandardSpecifier(const fw::TClass& Class) {
  TStandardPathSpecList* list = StandardPathSpecifiers();
  return list != nullptr ? list->Find(Class) : nullptr;
}

// The lowest free identifier, marked as used.
int AllocateUniqueID() {
  TUsedIDTable* table = UsedIDTable();
  if (table == nullptr) return 0;
  for (int id = 0; id < kUniqueIDCount; ++id) {
    if (!table->Used[static_cast<size_t>(id)]) {
      table->Used[static_cast<size_t>(id)] = true;
      return id;
    }
  }
  throw IECustomInstallFile("All %d file identifiers of the archive are in use; no further file can be added",
                            kUniqueIDCount);
}

// Sets State for the time of one step and sends the closing broadcast afterwards.
class TFileStep {
 public:
  TFileStep(TCustomInstallFile& File, TInstallFileState& State, TInstallFileState Value) : FFile(File), FState(State) {
    FState = Value;
  }
  ~TFileStep() {
    try {
      FFile.BroadcastInformation(&FFile, icOperationEnded, nullptr);
    } catch (...) {
      if (SharedArchive() != nullptr) SharedArchive()->SetAbort(true);
    }
    FState = ifsNone;
  }
  TFileStep(const TFileStep&) = delete;
  TFileStep& operator=(const TFileStep&) = delete;

 private:
  TCustomInstallFile& FFile;
  TInstallFileState& FState;
};

}  // namespace

// --- construction ------------------------------------------------------------------

const fw::TClass& TCustomInstallFile::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomInstallFile>();
  return cls;
}

TCustomInstallFile::TCustomInstallFile(fw::TComponent* AOwner) : TFileRelated(AOwner, rtInstallFile) {
  FUniqueID = AllocateUniqueID();
  SetInstalledByContainer(true);
  SetInclude(true);
  SetNet(false);
  if (AllInstallFiles() != nullptr) AllInstallFiles()->Add(this);
}

TCustomInstallFile::TCustomInstallFile(fw::TComponent* AOwner, const std::string& SourcePath)
    : TCustomInstallFile(AOwner) {
  SetIncludeFromDir(RemoveTrailingBackslash(ExtractFilePath(SourcePath)));
  SetFileName(ExtractFileName(SourcePath));
}

TCustomInstallFile::TCustomInstallFile(fw::TComponent* AOwner, TInstallContainer* AContainer,
                                       const std::string& SourcePath)
    : TCustomInstallFile(AOwner, SourcePath) {
  SetContainer(AContainer);
}

TCustomInstallFile::~TCustomInstallFile() {
  if (FailedRegistrationFiles() != nullptr) FailedRegistrationFiles()->Remove(this);
  if (AllInstallFiles() != nullptr) AllInstallFiles()->Remove(this);
  if (TUsedIDTable* table = UsedIDTable(); table != nullptr && FUniqueID >= 0 && FUniqueID < kUniqueIDCount)
    table->Used[static_cast<size_t>(FUniqueID)] = false;
}

void TCustomInstallFile::SetUniqueID(int Value) {
  if (Value < 0 || Value >= kUniqueIDCount)
    throw IECustomInstallFile("The UniqueID %d of %s lies outside 0..%d", Value, Name(), kUniqueIDCount - 1);
  if (TUsedIDTable* table = UsedIDTable()) {
    // Outside loading an identifier of another file is refused; a stored one replaces
    // the identifier the constructor took.
    if (!IsLoading() && Value != FUniqueID && table->Used[static_cast<size_t>(Value)])
      throw IECustomInstallFile("The UniqueID %d is used by another file already", Value);
    table->Used[static_cast<size_t>(FUniqueID)] = false;
    table->Used[static_cast<size_t>(Value)] = true;
  }
  FUniqueID = Value;
}

void TCustomInstallFile::Loaded() {
  TFileRelated::Loaded();
  // The table already holds exactly the identifiers of the files that exist: the
  // constructor marked each new one and a stored identifier replaced it. Clearing it
  // here would free the identifiers of files made before this configuration loaded.
  if (TUsedIDTable* table = UsedIDTable()) {
    table->ClearedOnce = true;
    table->Used[static_cast<size_t>(FUniqueID)] = true;
  }
}

// --- property rules ----------------------------------------------------------------

void TCustomInstallFile::SetActiveX(bool Value) {
  if (IsLoading()) {
    FActiveX = Value;
    return;
  }
  SetFileProperties(Container(), FIncludeFromDir, Value, FFileType, DestDirType(), FDestName, DestDir(), FFileName);
}

void TCustomInstallFile::SetDestName(const std::string& Value) {
  if (IsLoading()) {
    FDestName = Value;
    return;
  }
  SetFileProperties(Container(), FIncludeFromDir, FActiveX, FFileType, DestDirType(), Value, DestDir(), FFileName);
}

void TCustomInstallFile::SetFileName(const std::string& Value) {
  if (IsLoading()) {
    FFileName = Value;
    return;
  }
  SetFileProperties(Container(), FIncludeFromDir, FActiveX, FFileType, DestDirType(), FDestName, DestDir(), Value);
}

void TCustomInstallFile::SetFileType(TInstallFileType Value) {
  if (IsLoading()) {
    FFileType = Value;
    return;
  }
  SetFileProperties(Container(), FIncludeFromDir, FActiveX, Value, DestDirType(), FDestName, DestDir(), FFileName);
}

void TCustomInstallFile::SetIncludeFromDir(const std::string& Value) {
  if (IsLoading()) {
    FIncludeFromDir = Value;
    return;
  }
  SetFileProperties(Container(), Value, FActiveX, FFileType, DestDirType(), FDestName, DestDir(), FFileName);
}

void TCustomInstallFile::SetDestDir(const std::string& Value) {
  if (IsLoading()) {
    TFileRelated::SetDestDir(Value);
    return;
  }
  SetFileProperties(Container(), FIncludeFromDir, FActiveX, FFileType, DestDirType(), FDestName, Value, FFileName);
}

void TCustomInstallFile::SetDestDirType(TCustomPathSpecifier* Value) {
  if (IsLoading()) {
    TFileRelated::SetDestDirType(Value);
    return;
  }
  SetFileProperties(Container(), FIncludeFromDir, FActiveX, FFileType, Value, FDestName, DestDir(), FFileName);
}

void TCustomInstallFile::SetContainer(TInstallContainer* Value) {
  if (IsLoading()) {
    TFileRelated::SetContainer(Value);
    return;
  }
  SetFileProperties(Value, FIncludeFromDir, FActiveX, FFileType, DestDirType(), FDestName, DestDir(), FFileName);
}

void TCustomInstallFile::SetFileProperties(TInstallContainer* NewContainer, const std::string& NewIncludeFromDir,
                                           bool NewActiveX, TInstallFileType NewFileType,
                                           TCustomPathSpecifier* NewDestDirType, std::string NewDestName,
                                           std::string NewDestDir, const std::string& NewFileName) {
  const bool fileNameChanged = !fw::SameText(NewFileName, FFileName);
  const bool includeFromDirChanged = !fw::SameText(NewIncludeFromDir, FIncludeFromDir);
  const bool containerChanged = NewContainer != Container();
  const bool destDirTypeChanged = NewDestDirType != DestDirType();

  auto* container = dynamic_cast<TFileContainer*>(NewContainer);
  if (NewContainer != nullptr && container == nullptr)
    throw IECustomInstallFile(
        "The following TInstallFile component %s requires the Container property to be a component descended from "
        "the TFileContainer component",
        Name());
  if (container != nullptr && (fileNameChanged || containerChanged || includeFromDirChanged)) {
    std::string source = NewIncludeFromDir + "\\" + NewFileName;
    TCustomInstallFile* other = container->FindFileBySource(source);
    if (other != nullptr && other != this) throw IEfcDuplicateFile("There is already a file with the name :%s", source);
  }
  const std::string newSource = AddTrailingBackslash(NewIncludeFromDir) + NewFileName;
  if (fileNameChanged && !fw::Trim(NewFileName).empty()) {
    NewDestName = NewFileName;
    TQnlkFileAttributeSet attributes;
    GetFileReadOnlyAttr(newSource, attributes);
    FInstallAttributes = attributes;
  }
  const std::string extension = UpperExtension(NewFileName);
  if (fileNameChanged || includeFromDirChanged) {
    FRegisterAsHelp = extension == ".HLP" || extension == ".CNT";
    NewActiveX = extension == ".TLB" || extension == ".OCX" || HasOLESelfRegisterFlag(newSource);
  }
  if (NewActiveX && NewActiveX != FActiveX) NewFileType = iftSystemWideDLL;
  if (destDirTypeChanged && extension.size() == 4 &&
      (extension == ".DLL" || extension == ".OCX" || extension == ".BLL" || extension == ".EXE")) {
    if (dynamic_cast<TpsWindow*>(NewDestDirType) != nullptr || dynamic_cast<TpsBDEDLL*>(NewDestDirType) != nullptr)
      FOverwriteMode = owVersionDate;
    else if (dynamic_cast<TpsSystem*>(NewDestDirType) != nullptr)
      NewFileType = iftSystemWideDLL;
  }
  if (NewFileType != FFileType) {
    switch (NewFileType) {
      case iftJustADLL:
      case iftApplicationSpecificDLL:
        FOverwriteMode = owVersionDate;
        break;
      case iftVendorSharedDLL:
      case iftSystemWideDLL:
        FUpdateDLLCounter = true;
        FOverwriteMode = owVersionDate;
        break;
      case iftNormal:
        break;
    }
  }
  TFileRelated::SetDestDirType(NewDestDirType);
  TFileRelated::SetContainer(NewContainer);
  auto useDefaultFolder = [&](const fw::TClass& Class, const char* Folder) {
    if (TCustomPathSpecifier* specifier = StandardSpecifier(Class)) TFileRelated::SetDestDirType(specifier);
    NewDestDir = Folder;
  };
  switch (NewFileType) {
    case iftApplicationSpecificDLL:
      useDefaultFolder(TpsMainInstall::StaticClass(), "\\System");
      break;
    case iftVendorSharedDLL:
      useDefaultFolder(TpsCommonFiles::StaticClass(), "\\System");
      break;
    case iftSystemWideDLL:
      useDefaultFolder(TpsSystem::StaticClass(), "");
      break;
    default:
      break;
  }
  FIncludeFromDir = NewIncludeFromDir;
  FFileName = NewFileName;
  TFileRelated::SetDestDir(NewDestDir);
  FDestName = NewDestName;
  FFileType = NewFileType;
  FActiveX = NewActiveX;
}

// --- names and archives ------------------------------------------------------------

std::string TCustomInstallFile::GetSourceFileName() const {
  return AddTrailingBackslash(FIncludeFromDir) + FFileName;
}

std::string TCustomInstallFile::GetDestFileName() const {
  return AddTrailingBackslash(GetFullDestDir()) + FDestName;
}

bool TCustomInstallFile::UsesOwnArchive() const {
  return NetLocation() != nullptr || FOverwriteMode == owVersion || FOverwriteMode == owDate ||
         FOverwriteMode == owVersionDate;
}

TFileContainer* TCustomInstallFile::FileContainer() const {
  return dynamic_cast<TFileContainer*>(Container());
}

std::string TCustomInstallFile::GetArchivePath() const {
  TDistributeType distribution = CurrentDistributeType();
  bool netInstall = distribution == dtWeb || (distribution == dtTraditionalNet && Net());
  if (netInstall && FState == ifsInstall) {
    if (UsesOwnArchive() && IsArchiveDownloaded()) {
      std::string local;
      return !fw::Trim(LocalArchivePath()).empty() ? LocalArchivePath()
                                                   : (GetLocalArchiveFile(local) ? local : std::string());
    }
    if (TFileContainer* container = FileContainer(); container != nullptr && container->IsArchiveDownloaded()) {
      std::string local;
      return !fw::Trim(container->LocalArchivePath()).empty()
                 ? container->LocalArchivePath()
                 : (container->GetLocalArchiveFile(local) ? local : std::string());
    }
  }
  return TFileRelated::GetArchivePath();
}

void TCustomInstallFile::ThrowBlankDestination() const {
  throw IECustomInstallFile(kBlankDestination, Name());
}

void TCustomInstallFile::ThrowBlankArchive() const {
  throw IECustomInstallFile(kBlankArchive, FFileName);
}

// --- build side ----------------------------------------------------------------------

void TCustomInstallFile::ReadFileInfo() {
  std::string source = GetSourceFileName();
  TWinFile file;
  if (!file.Open(source, TFileOpen::Read))
    throw IECustomInstallFile(
        "Could not open or find the following file when trying to read the Size, Date, and Version :%s", source);
  FFileDate = DosDateTimeToDateTime(file.DosDateTime());
  int64_t size = file.Size();
  file.Close();
  if (size > INT32_MAX) throw IECustomInstallFile("The file %s is larger than 2 GB", source);
  FUncompressedSize = static_cast<int32_t>(size);
  FFileVersion = FileVersionOf(source).substr(0, kMaxStoredVersion);
}

void TCustomInstallFile::Compress() {
  TFileStep step(*this, FState, ifsCompress);
  try {
    if (OnBeforeCompress) OnBeforeCompress(this);
    ReportInformation(irBeforeCompress, this);
    std::string archivePath = GetArchivePath();
    if (fw::Trim(archivePath).empty()) ThrowBlankArchive();
    if (!Include()) throw fw::EAbort("");
    TQnlkCompress& archive = *SharedArchive();
    ForceDirectories(ExtractFilePath(archivePath));
    archive.SetCompressedFile(archivePath);
    archive.OnAborted = fw::TNotifyEvent(this, &TCustomInstallFile::CompressorAborted);
    archive.OnStatus = TlzhFileStatsEvent(this, &TCustomInstallFile::CompressorStatus);
    struct TClearHandlers {
      TQnlkCompress& a;
      ~TClearHandlers() {
        a.OnAborted = nullptr;
        a.OnStatus = nullptr;
      }
    } clear{archive};
    archive.FilesToProcess()->Clear();
    archive.FilesToProcess()->Add(GetSourceFileName());
    archive.Compress(AddToArchive(), FUniqueID);
    FCompressInfo.Compressed = 2;
    FCompressInfo.Archive = archive.CompressedFile();
    if (OnAfterCompress) OnAfterCompress(this);
    ReportInformation(irAfterCompress, this);
  } catch (const fw::EAbort&) {
    // Skipped by its event or excluded.
  }
}

void TCustomInstallFile::CopyFile() {
  TFileStep step(*this, FState, ifsCopying);
  try {
    if (OnBeforeCopy) OnBeforeCopy(this);
    ReportInformation(irBeforeCopy, this);
    if (!Include()) throw fw::EAbort("");
    if (fw::Trim(GetFullDestDir()).empty()) ThrowBlankDestination();
    ForceDirectories(GetFullDestDir());
    TQnlkCompress& archive = *SharedArchive();
    archive.OnStatus = TlzhFileStatsEvent(this, &TCustomInstallFile::CompressorStatus);
    struct TClearHandlers {
      TQnlkCompress& a;
      ~TClearHandlers() { a.OnStatus = nullptr; }
    } clear{archive};
    archive.CopyFile(GetSourceFileName(), GetDestFileName());
    if (OnAfterCopy) OnAfterCopy(this);
    ReportInformation(irAfterCopy, this);
  } catch (const fw::EAbort&) {
    // Skipped by its event or excluded.
  }
}

void TCustomInstallFile::SetState(TInstallFileState Value) {
  struct TReset {
    TInstallFileState& s;
    ~TReset() { s = ifsNone; }
  } reset{FState};
  switch (Value) {
    case ifsCompress:
      Compress();
      break;
    case ifsInstall:
      Process();
      break;
    case ifsCopying:
      CopyFile();
      break;
    default:
      break;
  }
}

void TCustomInstallFile::WriteFileInfoRecord(fw::TStream& Stream) const {
  std::array<uint8_t, kFileInfoRecordSize> record{};
  int32_t size = FUncompressedSize;
  std::memcpy(record.data(), &size, 4);
  std::memcpy(record.data() + 8, &FFileDate, 8);
  std::string name = Name().substr(0, 39);
  std::memcpy(record.data() + 16, name.data(), name.size());
  std::string version = FFileVersion.substr(0, 20);
  std::memcpy(record.data() + 56, version.data(), version.size());
  Stream.WriteBuffer(record.data(), record.size());
}

void TCustomInstallFile::ApplyRemoteFileInfo(int32_t Size, double Date, const std::string& Version) {
  FUncompressedSize = Size;
  FFileDate = Date;
  FFileVersion = Version.substr(0, kMaxStoredVersion);
}

// --- install side ------------------------------------------------------------------

void TCustomInstallFile::ReadInfoFromArchive() {
  if (IsInstallRunning() && ArchiveInfoRead()) return;
  TDistributeType distribution = CurrentDistributeType();
  if (distribution == dtTraditional || (distribution == dtTraditionalNet && !Net())) {
    ReadInfoFrom(GetArchivePath());
    return;
  }
  if (UsesOwnArchive() && IsArchiveDownloaded()) {
    ReadInfoFrom(LocalArchivePath());
    return;
  }
  TFileContainer* container = FileContainer();
  if (container == nullptr)
    throw IECustomInstallFile(
        "%s cannot perform ReadInfoFromArchive because either no container is assigned or the container is not "
        "TFileContainer",
        Name());
  if (container->IsArchiveDownloaded()) ReadInfoFrom(container->LocalArchivePath());
}

void TCustomInstallFile::ReadInfoFrom(const std::string& ArchivePath) {
  if (fw::Trim(ArchivePath).empty()) ThrowBlankArchive();
  TInstallEngine* engine = GlobalInstall();
  std::unique_ptr<TQnlkCompress> own;
  TQnlkCompress* archive = SharedArchive();
  if (engine == nullptr || !fw::SameText(ArchivePath, engine->EngineArchivePath())) {
    own = std::make_unique<TQnlkCompress>(nullptr);
    archive = own.get();
  }
  archive->SetCompressedFile(ArchivePath);
  int index = archive->GetHeaderIndexByID(FUniqueID);
  if (index < 0) return;
  const TFileHeader& header = archive->Headers()[index];
  FArchivedSize = header.CompressedSize();
  FFileDate = header.Date();
  FUncompressedSize = header.UncompressedSize();
  FFileVersion = header.FileVersion().substr(0, kMaxStoredVersion);
  SetArchiveInfoRead(true);
}

void TCustomInstallFile::CompressorAborted(fw::TObject*) {
  throw EAIUserAbort();
}

bool TCustomInstallFile::ConfirmCopy() {
  std::string text = fw::Format(TranslateEnglishText("Copy This File %s?"), FFileName);
  return MessageBoxA(nullptr, text.c_str(), "", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TCustomInstallFile::Install() {
  FReplacedAtReboot = false;
  FKeptExisting = false;
  FWrittenContent.reset();
  FHoldsSharedUse = false;
  FExtractName.clear();
  try {
    ReportInformation(irFileInstallStarts, this);
    if (OnBeforeInstall) OnBeforeInstall(this);
  } catch (const fw::EAbort&) {
    ReportInformation(irFileSkipped, this);
    throw;  // skipped: neither done nor logged
  }
  if (fw::Trim(GetFullDestDir()).empty()) ThrowBlankDestination();
  FCopyDecided = false;
  // Without a file to compare with there is nothing to decide.
  FTargetExisted = TargetExists();
  uint8_t decision = !FTargetExisted
                         ? static_cast<uint8_t>(odReplace)
                         : TVersionResource::IsFileNewerByVersion(
                               FFileVersion, GetDestFileName(), OverwriteModeToVersionMode(FOverwriteMode), FFileDate);
  switch (decision) {
    case odReplace:
      FCopyDecided = true;
      break;
    case odSame:
      break;
    case odKeep:
      FKeptExisting = true;
      break;
    case odAsk:
      FCopyDecided = ConfirmCopy();
      FKeptExisting = !FCopyDecided;
      break;
    default:
      throw IECustomInstallFile("Could not compare %s with the installed file %s", FFileName, GetDestFileName());
  }
  if (FCopyDecided) {
    try {
      ReplaceExistingFile();
    } catch (const fw::EAbort&) {
      FCopyDecided = false;
      FReplacedAtReboot = false;
      FExtractName.clear();
    }
  }
  if (FCopyDecided) {
    ExtractFromArchive();
  } else {
    ReportInformation(irFileKept, this);
  }
  RegisterInstalledFile();
  if (OnAfterInstall) OnAfterInstall(this);
  ReportInformation(irFileInstalled, this);
  TFileRelated::Install();
}

bool TCustomInstallFile::TargetExists() const {
  std::string target = GetDestFileName();
  TFileContainer* container = FileContainer();
  if (container != nullptr && container->TargetNames() != nullptr && !container->TargetNames()->MayExist(target))
    return false;
  return FileExists(target);
}

void TCustomInstallFile::ReplaceExistingFile() {
  if (OnReplacing) OnReplacing(this);
  BroadcastInformation(this, icReplacingFile, this);
  ReportInformation(irFileReplacing, this);
  // A file that was not there is nobody's to hold open.
  if (!FTargetExisted || IsFileReplaceable(GetDestFileName())) return;
  // The old file stays in use until the restart: the new one goes beside it.
  FReplacedAtReboot = true;
  FExtractName = FreeNumberedName(GetFullDestDir(), FDestName);
}

void TCustomInstallFile::ExtractFromArchive() {
  std::string local;
  if (GetLocalArchiveFile(local)) SetLocalArchivePath(local);
  TQnlkCompress* shared = SharedArchive();
  TInstallEngine* engine = GlobalInstall();
  TDistributeType distribution = CurrentDistributeType();
  // In a net distribution the archive is fetched first: the file's own, or its
  // container's once for all its files.
  bool downloaded = distribution != dtTraditional && (Net() || distribution == dtWeb);
  if (downloaded) {
    if (UsesOwnArchive())
      DownloadArchive();
    else if (TFileContainer* container = FileContainer(); container != nullptr && !container->IsArchiveDownloaded())
      container->DownloadArchive();
  }
  std::unique_ptr<TQnlkCompress> own;
  TQnlkCompress* archive = shared;
  {
    TFileStep step(*this, FState, ifsInstall);
    std::string archivePath = GetArchivePath();
    if (downloaded || engine == nullptr || !fw::SameText(archivePath, engine->EngineArchivePath())) {
      own = std::make_unique<TQnlkCompress>(nullptr);
      archive = own.get();
    }
    struct TRelease {
      TQnlkCompress& a;
      TQnlkCompress* shared;
      ~TRelease() {
        a.OnNewDisk = nullptr;
        a.OnStatus = nullptr;
        a.OnAborted = nullptr;
        a.SetReplacementRecord(nullptr);
        if (&a != shared && a.Abort() && shared != nullptr) shared->SetAbort(true);
      }
    } release{*archive, shared};
    MakeFolderOfRun(GetFullDestDir());
    if (fw::Trim(archivePath).empty()) ThrowBlankArchive();
    archive->SetCompressedFile(archivePath);
    archive->SetExtractDirectory(GetFullDestDir());
    archive->TargetFileName = FExtractName.empty() ? FDestName : FExtractName;
    archive->SetOverwrite(FOverwriteMode);
    archive->OnAborted = fw::TNotifyEvent(this, &TCustomInstallFile::CompressorAborted);
    archive->OnNewDisk = TlzhNewDiskEvent(this, &TCustomInstallFile::CompressorNewDisk);
    archive->OnStatus = TlzhFileStatsEvent(this, &TCustomInstallFile::CompressorStatus);
    archive->FilesToProcess()->Clear();
    archive->FilesToProcess()->Add(GetSourceFileName());
    // The run learns of the file made or replaced and keeps a replaced one's old file; a
    // file beside one in use replaces it at the restart: that work stays.
    if (FExtractName.empty()) archive->SetReplacementRecord(CurrentRunJournal());
    archive->Extract();
    // What went into the file, for the uninstall log: counted while it was written, so
    // nothing needs reading back; nothing when the archive kept the file there.
    if (const TWrittenFile& written = archive->LastWritten(); !written.Path.empty())
      FWrittenContent = TFileIdentity{static_cast<uint64_t>(written.Size), written.Digest};
    if (archive->Abort()) throw EAIUserAbort();
    if (TFileContainer* container = FileContainer(); container != nullptr && container->TargetNames() != nullptr)
      container->TargetNames()->Add(AddTrailingBackslash(GetFullDestDir()) +
                                    (FExtractName.empty() ? FDestName : FExtractName));
  }
  if (FReplacedAtReboot) ScheduleReplacement();
}

bool TCustomInstallFile::MoveAtNextStart(const std::string& NewPath, const std::string& Target) {
  return ScheduleMoveAtRestart(NewPath, Target);
}

void TCustomInstallFile::ScheduleReplacement() {
  std::string folder = GetFullDestDir();
  std::string target = GetDestFileName();
  std::string newPath = AddTrailingBackslash(folder) + FExtractName;
  TInstallEngine* engine = GlobalInstall();
  TOSVerType os = GetOSVersion();
  if (os == oswin95 || os == oswin98 || os == oswinME) {
    if (!ScheduleRenameInWininit(newPath, target))
      throw IECustomInstallFile(
          "%s cannot register a routine in the register to move the files after the computer is reboot", Name());
    if (engine != nullptr) engine->EngineRequestReboot();
    return;
  }
  if (engine != nullptr) engine->EngineRequestReboot();
  if (MoveAtNextStart(newPath, target)) return;
  if (engine == nullptr)
    throw IECustomInstallFile(
        "%s cannot register a routine in the register to move the files after the computer is reboot", Name());
  std::string batch = WriteReplacementBatch(newPath, target);
  engine->EngineAddUnfinished(batch, 1);
  if (!AddRunOnceValue("QuenlarkBatFile", "\"" + batch + "\"", true))
    throw IECustomInstallFile(
        "%s cannot register a routine in the register to move the files after the computer is reboot", Name());
}

void TCustomInstallFile::RegisterInstalledFile() {
  if (FRegisterAsHelp) {
    if (TInstallRunJournal* journal = CurrentRunJournal())
      journal->NoteValueBefore(static_cast<int>(hkLocalMachine), kHelpKey, fw::UpperCase(FDestName));
    RegisterHelpFile(FDestName, GetFullDestDir());
  }
  FHoldsSharedUse = FUpdateDLLCounter && HoldSharedUse();
  TInstallEngine* engine = GlobalInstall();
  if (FReplacedAtReboot && engine != nullptr) {
    engine->EngineAddUnfinished(Name(), 0);
    return;
  }
  if (FCopyDecided && !FReplacedAtReboot && !FInstallAttributes.Empty())
    SetFileAttributeSet(GetDestFileName(), FInstallAttributes);
  if (!FActiveX) return;
  try {
    RegisterActiveX();
  } catch (const fw::Exception&) {
    if (!IsInstallRunning() || FailedRegistrationFiles() == nullptr) throw;
    if (FailedRegistrationFiles()->IndexOf(this) < 0) FailedRegistrationFiles()->Add(this);
  }
}

void TCustomInstallFile::FinishAfterReboot() {
  if (FActiveX) RegisterActiveX();
  SetFileAttributeSet(GetDestFileName(), FInstallAttributes);
}

bool TCustomInstallFile::HoldSharedUse() {
  if (CountedByAnEarlierRun()) return true;
  // A kept file nobody counts is another program's that does not share it: it is left
  // alone, neither counted nor logged, so the uninstaller cannot take it away.
  if (FKeptExisting && !HasSharedDLLCount(GetDestFileName())) return false;
  if (!IncrementSharedDLLCount())
    throw IECustomInstallFile("Cannot update the DLL count for the following file :%s:", FFileName);
  return true;
}

bool TCustomInstallFile::CountedByAnEarlierRun() const {
  // The uninstaller gives back one use per logged file: a second run of the same setup
  // (a repair, an update) that counted again would keep the file for ever.
  return GlobalInstall() != nullptr && Uninstall() && IsSharedCountLogged(ProductUninstallKey(), GetDestFileName());
}

bool TCustomInstallFile::IncrementSharedDLLCount() {
  unsigned long error = 0;
  TSharedCountBefore before;
  bool raised = IncrementSharedDLLValue(GetDestFileName(), error, &before);
  if (TInstallRunJournal* journal = CurrentRunJournal(); journal != nullptr && !before.Name.empty())
    journal->NoteSharedCount(before.Name, before.Count);
  if (raised) return true;
  if (error != 0)
    throw IECustomInstallFile(
        "Could not open the key SharedDLLs key in the registry. File component %s. GetLastError return: %d", Name(),
        static_cast<int>(error));
  return false;
}

bool TCustomInstallFile::IsOLESelfRegister() const {
  return HasOLESelfRegisterFlag(GetSourceFileName());
}

// --- COM registration ----------------------------------------------------------------

void TCustomInstallFile::CheckInstalledFilePresent() const {
  if (fw::Trim(GetFullDestDir() + FDestName).empty() || !FileExists(GetDestFileName())) ThrowBlankDestination();
}

void TCustomInstallFile::RegisterActiveX() {
  switch (ActiveXKind()) {
    case kActiveXServer:
      RegisterActiveXServer();
      break;
    case kActiveXTypeLibrary:
      RegisterTypeLibrary();
      break;
    default:
      RegisterActiveXLibrary();
  }
}

void TCustomInstallFile::RegisterTypeLibrary() {
  CheckInstalledFilePresent();
  TWorkingFolder folder(GetFullDestDir());
  RegisterTypeLibraryFile(GetDestFileName(), CurrentRunJournal());
}

void TCustomInstallFile::RegisterActiveXLibrary() {
  CheckInstalledFilePresent();
  TWorkingFolder folder(GetFullDestDir());
  RegisterSelfRegisteringLibrary(GetDestFileName(), Name(), CurrentRunJournal());
}

void TCustomInstallFile::RegisterActiveXServer() {
  CheckInstalledFilePresent();
  TWorkingFolder folder(GetFullDestDir());
  RegisterSelfRegisteringServer(GetDestFileName(), CurrentRunJournal());
}

// --- archive callbacks -----------------------------------------------------------------

void TCustomInstallFile::CompressorStatus(TQnlkCompress*, const TlzhFileStats& Stats) {
  TFileStatusParameter parameter;
  parameter.Size = static_cast<int32_t>(std::min<int64_t>(Stats.FileDone, INT32_MAX));
  parameter.Percent = Stats.FilePercent;
  parameter.FileName = FFileName;
  parameter.Stats = Stats;
  parameter.TotalDone = static_cast<int32_t>(std::min<int64_t>(Stats.TotalDone, INT32_MAX));
  parameter.TotalPercent = Stats.TotalPercent;
  if (OnStatus) OnStatus(this, parameter.Percent, parameter.TotalPercent);
  Broadcast<icFileStatus>(*this, parameter);
  TInformationList list{this, &parameter};
  int code = FState == ifsCompress ? irCompressProgress : FState == ifsCopying ? irCopyProgress : irInstallProgress;
  ReportInformation(code, &list);
}

void TCustomInstallFile::CompressorNewDisk(TQnlkCompress* Sender, int DiskNumber, std::string& Path) {
  TDiskParameter disk;
  disk.DiskNumber = DiskNumber;
  disk.Path = RemoveTrailingBackslash(ExtractFilePath(GetArchivePath()));
  TInformationList list{this, &disk};
  SetTag(0);
  if (OnNewDisk) OnNewDisk(this, DiskNumber, disk.Path);
  Broadcast<icNewDisk>(*this, list);
  ReportInformation(irDiskRequest, &list);
  if (!OnNewDisk && Tag() == 0) {
    std::string text = fw::Format(TranslateEnglishText("Please insert disk #%d"), DiskNumber);
    if (MessageBoxA(nullptr, text.c_str(), "", MB_OKCANCEL | MB_ICONINFORMATION) == IDCANCEL && Sender != nullptr)
      Sender->SetAbort(true);
  }
  Path = RemoveTrailingBackslash(disk.Path);
  try {
    if (auto* main = dynamic_cast<TpsMainArchiveFile*>(StandardSpecifier(TpsMainArchiveFile::StaticClass())))
      main->SetArchiveFolder(Path);
  } catch (...) {
  }
  SetTag(0);
}

// --- uninstall log -------------------------------------------------------------------

char TCustomInstallFile::ActiveXKind() const {
  return ActiveXKindOfName(FFileName);
}

void TCustomInstallFile::WriteUninstallInfo(const std::string& Key) {
  // A newer file that was there before stays at uninstall; a shared one this product
  // counted is logged, so the uninstaller gives its use back.
  if (FKeptExisting && !FHoldsSharedUse) return;
  // What this run wrote is recorded (the new content beside a file in use too); a file
  // it found the same keeps what an earlier run recorded.
  TLoggedWrite written;
  written.Content = FWrittenContent;
  written.WaitsForRestart = FReplacedAtReboot;
  written.Shared = FHoldsSharedUse;
  if (FActiveX) {
    LogActiveXFile(Key, GetDestFileName(), ActiveXKind(), written);
    return;
  }
  LogInstalledFile(Key, GetDestFileName(), written);
}

// --- TInstallFile --------------------------------------------------------------------

const fw::TClass& TInstallFile::StaticClass() {
  static const fw::TClass cls = PublishInstallFileProperties(fw::TClassDef<TInstallFile>().Creatable());
  return cls;
}

// Windows names its window-class call like the framework's class registration.
#undef RegisterClass

void StartFileObjectsUnit() {
  fw::RegisterClass(TInstallFile::StaticClass());
  fw::RegisterClass(TInstallGroup::StaticClass());
  fw::RegisterClass(TInstallDirectory::StaticClass());
  fw::RegisterClass(TpsFileContainer::StaticClass());
}

}  // namespace setup
