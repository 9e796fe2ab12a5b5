// TCustomInstallFile (published as TInstallFile): one file of the setup. Where its
// source lies on the build machine, under which name and in which folder it is
// installed, how an existing file is treated and what is registered for it. Its
// property setters apply the file's rules (duplicate names, derived flags, default
// folders of DLLs); its install step decides about an existing file, puts the new one
// in place (at the next restart when the old one is in use), registers it and logs it
// for the uninstaller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "FileRelated.h"
#include "StatusParameters.h"
#include "UninstallLogFormat.h"
#include "support/FileAttributes.h"

namespace setup {

SETUP_IEXCEPTION(IECustomInstallFile, IException);
SETUP_IEXCEPTION(IEfcDuplicateFile, IException);

class TFileContainer;

enum class TInstallFileType { iftNormal, iftJustADLL, iftApplicationSpecificDLL, iftVendorSharedDLL, iftSystemWideDLL };
using enum TInstallFileType;
const fw::TEnumInfo& InstallFileTypeInfo();
const fw::TEnumInfo& QnlkFileAttributesInfo();

// Where and whether the file was compressed.
struct TCompressInfo {
  uint8_t Compressed = 0;  // 2 once the file is compressed
  bool NetFlag = false;    // bound for a net archive
  std::string Archive;     // the archive the file went into
};

// The identifiers an archive can hold.
constexpr int kUniqueIDCount = 2000;
// The size of the file's record in the net file list.
constexpr int kFileInfoRecordSize = 80;

class TCustomInstallFile : public TFileRelated {
  FW_CLASS(TCustomInstallFile, TFileRelated)
 public:
  explicit TCustomInstallFile(fw::TComponent* AOwner);
  // The constructor, then IncludeFromDir and FileName from SourcePath.
  TCustomInstallFile(fw::TComponent* AOwner, const std::string& SourcePath);
  // The same, then Container.
  TCustomInstallFile(fw::TComponent* AOwner, TInstallContainer* AContainer, const std::string& SourcePath);
  ~TCustomInstallFile() override;

  // --- properties ------------------------------------------------------------
  bool ReplacedAtReboot() const { return FReplacedAtReboot; }
  bool CopyDecided() const { return FCopyDecided; }
  const std::string& RunParameters() const { return FRunParameters; }
  void SetRunParameters(const std::string& Value) { FRunParameters = Value; }
  TQnlkFileAttributeSet InstallAttributes() const { return FInstallAttributes; }
  void SetInstallAttributes(TQnlkFileAttributeSet Value) { FInstallAttributes = Value; }
  bool ActiveX() const { return FActiveX; }
  int32_t ArchivedSize() const { return FArchivedSize; }
  const TCompressInfo& CompressInfo() const { return FCompressInfo; }
  TCompressInfo& CompressInfo() { return FCompressInfo; }
  double FileDate() const { return FFileDate; }
  const std::string& DestName() const { return FDestName; }
  const std::string& FileName() const { return FFileName; }
  TInstallFileType FileType() const { return FFileType; }
  const std::string& IncludeFromDir() const { return FIncludeFromDir; }
  TOverwriteType OverwriteMode() const { return FOverwriteMode; }
  void SetOverwriteMode(TOverwriteType Value) { FOverwriteMode = Value; }
  bool RegisterAsHelp() const { return FRegisterAsHelp; }
  void SetRegisterAsHelp(bool Value) { FRegisterAsHelp = Value; }
  bool RunAfterInstall() const { return FRunAfterInstall; }
  void SetRunAfterInstall(bool Value) { FRunAfterInstall = Value; }
  int32_t UncompressedSize() const { return FUncompressedSize; }
  TInstallFileState State() const { return FState; }
  int UniqueID() const { return FUniqueID; }
  // The stored identifier (the configuration's hidden property).
  void SetUniqueID(int Value);
  bool UpdateDLLCounter() const { return FUpdateDLLCounter; }
  void SetUpdateDLLCounter(bool Value) { FUpdateDLLCounter = Value; }
  const std::string& FileVersion() const { return FFileVersion; }

  TInstallFileNotifyEvent OnAfterCompress, OnAfterCopy, OnAfterInstall;
  TInstallFileNotifyEvent OnBeforeCompress, OnBeforeCopy, OnBeforeInstall;
  TInstallFileStatusEvent OnStatus;
  TInstallFileNewDiskEvent OnNewDisk;
  TInstallFileNotifyEvent OnReplacing;

  // --- setters with the file's rules ----------------------------------------------
  virtual void SetActiveX(bool Value);
  virtual void SetDestName(const std::string& Value);
  virtual void SetFileName(const std::string& Value);
  virtual void SetFileType(TInstallFileType Value);
  virtual void SetIncludeFromDir(const std::string& Value);
  // 1 Compress, 2 Process, 3 CopyFile; ifsNone afterwards.
  virtual void SetState(TInstallFileState Value);
  void SetDestDir(const std::string& Value) override;
  void SetDestDirType(TCustomPathSpecifier* Value) override;
  void SetContainer(TInstallContainer* Value) override;

  // --- operations ----------------------------------------------------------------
  // The archive object's abort handler: raises EAIUserAbort.
  virtual void CompressorAborted(fw::TObject* Sender);
  virtual void RegisterActiveXLibrary();
  virtual void RegisterTypeLibrary();
  virtual void RegisterActiveXServer();
  virtual void ReplaceExistingFile();
  // Whether the destination file exists, asking the folder names of the container's
  // install first.
  bool TargetExists() const;
  virtual void Compress();
  virtual void CopyFile();
  virtual void ReadInfoFromArchive();
  virtual void ReadFileInfo();
  // The source file's version resource asks to be registered with COM.
  virtual bool IsOLESelfRegister() const;
  virtual bool IncrementSharedDLLCount();
  // The product's uninstall log names the file: an earlier run of this setup counted its
  // use already.
  bool CountedByAnEarlierRun() const;
  // Counts the product's use of a shared file once (a kept file only when others count
  // it too); true when the product holds a use of it after this run.
  bool HoldSharedUse();
  // The kind of the file's "ActiveX" log entry.
  char ActiveXKind() const;

  std::string GetSourceFileName() const;
  std::string GetDestFileName() const;
  // The file's own archive in net distributions.
  bool UsesOwnArchive() const;
  void RegisterActiveX();
  // Writes the file's 80-byte record of the net file list.
  void WriteFileInfoRecord(fw::TStream& Stream) const;
  // Size, date and version as the remote file list of a net distribution gives them.
  void ApplyRemoteFileInfo(int32_t Size, double Date, const std::string& Version);

  void CompressorStatus(TQnlkCompress* Sender, const TlzhFileStats& Stats);
  void CompressorNewDisk(TQnlkCompress* Sender, int DiskNumber, std::string& Path);

  std::string GetArchivePath() const override;
  void Install() override;
  void FinishAfterReboot() override;
  void WriteUninstallInfo(const std::string& Key) override;
  void Loaded() override;

 protected:
  // The question of owAsk ("Copy This File %s?"); true to copy.
  virtual bool ConfirmCopy();
  // Asks Windows to move NewPath over Target at the next start; false when it refuses.
  virtual bool MoveAtNextStart(const std::string& NewPath, const std::string& Target);
  // The setters' common step outside loading.
  void SetFileProperties(TInstallContainer* NewContainer, const std::string& NewIncludeFromDir, bool NewActiveX,
                         TInstallFileType NewFileType, TCustomPathSpecifier* NewDestDirType, std::string NewDestName,
                         std::string NewDestDir, const std::string& NewFileName);

 private:
  void RegisterInstalledFile();
  // Extracts the file (under the temporary name when the old one is in use), then has
  // the temporary file moved over the old one at the next start.
  void ExtractFromArchive();
  void ScheduleReplacement();
  void ReadInfoFrom(const std::string& ArchivePath);
  // The blank-folder error of every step that needs the destination.
  [[noreturn]] void ThrowBlankDestination() const;
  [[noreturn]] void ThrowBlankArchive() const;
  void CheckInstalledFilePresent() const;
  TFileContainer* FileContainer() const;

  bool FReplacedAtReboot = false;
  bool FCopyDecided = false;
  bool FKeptExisting = false;   // an existing file was kept by the decision: not ours to log
  bool FHoldsSharedUse = false;  // the product holds a counted use of the shared file: logged
  bool FTargetExisted = false;  // the target was there when the install decided
  std::string FExtractName;     // the numbered name the new file takes while the old one is in use
  std::optional<TFileIdentity> FWrittenContent;  // what the archive wrote this run, counted while writing
  std::string FRunParameters;
  TQnlkFileAttributeSet FInstallAttributes;
  bool FActiveX = false;
  int32_t FArchivedSize = 0;
  TCompressInfo FCompressInfo;
  double FFileDate = 0;
  std::string FDestName;
  std::string FFileName;
  TInstallFileType FFileType = iftNormal;
  std::string FIncludeFromDir;
  TOverwriteType FOverwriteMode = owAlways;
  bool FRegisterAsHelp = false;
  bool FRunAfterInstall = false;
  int32_t FUncompressedSize = 0;
  TInstallFileState FState = ifsNone;
  int FUniqueID = 0;
  bool FUpdateDLLCounter = false;
  std::string FFileVersion;
};

class TInstallFile : public TCustomInstallFile {
  FW_CLASS(TInstallFile, TCustomInstallFile)
 public:
  using TCustomInstallFile::TCustomInstallFile;
};

// Registers the classes of installed files and file containers.
void StartFileObjectsUnit();

}  // namespace setup
