// TFileContainer: an installable object that holds installed files and other file
// containers. It runs its operations (install, build, copy) over them, sums their
// sizes, relays their reports to its own container with the progress of the whole
// operation, and owns the path specifier that names its destination folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "FileRelated.h"
#include "StatusParameters.h"

namespace setup {

class TCustomInstallFile;
class TFolderNames;
class TpsFileContainer;

using TAfterInstallObjectsEvent = fw::TMethodPtr<void(TInstallContainer* Container, bool WasAborted)>;

// Options of TFileContainer::Compress.
enum : int {
  coOnlyAddNoPath = 1,       // every file is added (lzcOnlyAdd) into an archive given by no path
  coRelocateArchives = 2,    // archives are relocated into the build folder
  coEngineBuild = 4,         // not examined by the containers
  coForceNetFilesLocal = 8,  // net files go into the ordinary archives
  coForceFilesNet = 16,      // every file is treated as a net file
  coIncludeExcluded = 32,    // excluded items are compressed too, sizes count all items
};

class TFileContainer : public TFileRelated {
  FW_CLASS(TFileContainer, TFileRelated)
 public:
  TFileContainer(fw::TComponent* AOwner, int ARegisteredType = rtFileContainer);
  ~TFileContainer() override;

  int64_t TotalSize() const { return FTotalSize; }
  int64_t DoneBytes() const { return FDoneBytes; }
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& Value) { FDescription = Value; }
  TInstallFileState State() const { return FState; }
  void SetState(TInstallFileState Value) { FState = Value; }
  bool FireAfterInstallObjects() const { return FFireAfterInstallObjects; }
  void SetFireAfterInstallObjects(bool Value) { FFireAfterInstallObjects = Value; }
  TpsFileContainer* PathSpecifier() const { return FPathSpecifier; }
  // While the container installs: the names found in its files' destination folders.
  TFolderNames* TargetNames() const { return FTargetNames.get(); }
  // The container's net archive as the last build named it (kept apart from
  // LocalArchivePath, which names an archive an installation downloaded).
  const std::string& NetArchivePath() const { return FNetArchivePath; }

  TInstallFileStatusEvent OnStatus;
  TInstallFileNewDiskEvent OnNewDisk;
  TInstallFileNotifyEvent OnReplacing;
  TAfterInstallObjectsEvent OnAfterInstallObjects;
  TInstallContainerNotifyEvent OnBeforeInstallObjects;

  bool IsFileContainer() const override { return true; }
  virtual bool HasPathSpecifier() const { return true; }
  virtual void DoNewDisk(TCustomInstallFile* File, TDiskParameter& Parameter);
  virtual void DoReplacing(TCustomInstallFile* File);
  virtual void DoStatus(TCustomInstallFile* File, TFileStatusParameter& Parameter);
  virtual int64_t SumFileSizes(bool IncludeAll, bool WithSubContainers) const;
  // Runs the operation of State (1 compress, 2 install, 3 copy, 4 reflect); State is
  // ifsNone afterwards, also on failure.
  virtual void RunState(TInstallFileState Value);
  virtual void CopyFiles();
  virtual void FreeFiles();
  virtual void Compress(int Options);
  virtual int64_t GetCompressedSize(bool IncludeAll) const;
  virtual std::string GetDownloadedArchivePath() const;
  int64_t GetFilesSize(bool IncludeAll) const { return SumFileSizes(IncludeAll, false); }
  int64_t GetTotalSize(bool IncludeAll) const { return SumFileSizes(IncludeAll, true); }
  virtual void ReadInfoFromArchive();
  virtual void ReadFileInfo();
  virtual bool NeedsNetArchive() const;

  int GetFileCount() const;
  TCustomInstallFile* GetFile(int Index) const;
  // The file whose IncludeFromDir\FileName is Path (any case); nil when none.
  TCustomInstallFile* FindFileBySource(const std::string& Path) const;
  bool HasNetFiles() const;

  void DoInformationEventControl(fw::TObject* Sender, int Code, fw::TObject* PO) override;
  void Install() override;

  // The specifier's side of the pairing: it takes over as this container's specifier
  // (the one the constructor made goes), or is forgotten.
  void AdoptPathSpecifier(TpsFileContainer* Specifier);
  void ForgetPathSpecifier(const TpsFileContainer* Specifier);

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  // round(Done / TotalSize x 100), 0 without a total.
  int32_t TotalPercentOf(int64_t Done) const;
  void RelayFileStatus(int Code, fw::TObject* PO);
  void RelayDiskRequest(fw::TObject* PO);
  void RelayFinishedFile(int Code, fw::TObject* PO);
  // The progress part of one operation: the container's report 1012, the sizes and
  // the walk; State and the closing broadcast are the caller's.
  void RunOverFiles(bool IncludeAll, const std::function<void()>& Walk);
  // Deletes the archive Path ("%s cannot delete the archive file %s" on failure), with
  // its volumes .2 and up when asked; an archive an installation downloaded stays.
  void DeleteArchive(const std::string& Path, bool WithVolumes);

  int64_t FTotalSize = 0;
  int64_t FDoneBytes = 0;
  std::unique_ptr<TFolderNames> FTargetNames;
  std::string FNetArchivePath;
  std::string FDescription;
  TInstallFileState FState = ifsNone;
  bool FFireAfterInstallObjects = true;
  TpsFileContainer* FPathSpecifier = nullptr;
};

// The name of TlzhCommand's values.
const fw::TEnumInfo& LzhCommandInfo();

}  // namespace setup
