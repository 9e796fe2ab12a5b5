// The build of a distributable setup (switch b), the copy of a self-extracting setup onto
// floppy disks (switch f) and the main archive inside a self-extracting setup (switch e):
// the engine's side of the units Build*, SelfExtract* and FloppyTransfer.
#include <windows.h>

#include "Install.h"
#include "archive/ArchiveText.h"
#include "archive/QnlkCompress.h"
#include "engine/BuildDistribution.h"
#include "engine/FloppyTransfer.h"
#include "engine/RemoteFileList.h"
#include "engine/SelfExtractFile.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/WaitCursor.h"

namespace setup {

namespace {

// The engine as a build sees it.
class TEngineBuild : public IBuildEngine {
 public:
  explicit TEngineBuild(TCustomInstall& Install) : FInstall(Install) {}

  bool BuildUsesLoadingProgram() const override { return FInstall.UseLoadingProgram(); }
  TDistributeType BuildDistributeType() const override { return FInstall.DistributeType(); }
  void BuildSetupArchive(const std::string& Dir, const std::string& SourceExe) override {
    FInstall.BuildSetupArchive(Dir, SourceExe);
  }
  void BuildContainers(const std::string& FilesArchive, int Options) override {
    struct TRestore {
      TCustomInstall& Install;
      TCustomPathSpecifier* Type;
      std::string File;
      ~TRestore() { Install.RestoreArchive(Type, File); }
    } restore{FInstall, FInstall.ArchiveFileType(), FInstall.ArchiveFile()};
    FInstall.RestoreArchive(nullptr, FilesArchive);
    FFilesArchive = FilesArchive;
    FInstall.Compress(Options);
  }
  // The remote file list goes into the network mirror below the build folder (the
  // folder of the files archive): host name and directory of the engine's location.
  void BuildFileList() override { WriteFileList(ExtractFilePath(FFilesArchive) + FInstall.GetNetPath()); }

 private:
  TCustomInstall& FInstall;
  std::string FFilesArchive;
};

// The floppy transfer's status through the engine's status message, its prompts as
// message boxes.
class TEngineFloppyUser : public TFloppyTransferDialogs {
 public:
  explicit TEngineFloppyUser(TCustomInstall& Install) : FInstall(Install) {}
  void ShowStatus(const std::string& Text) override { FInstall.ShowStatusMessage(Text); }
  void HideStatus() override { FInstall.HideStatusMessage(); }

 private:
  TCustomInstall& FInstall;
};

}  // namespace

void TCustomInstall::Build(const std::string& SourceExe, const std::string& Dir, bool StandAlone) {
  TEngineBuild build(*this);
  BuildDistribution(build, SourceExe, Dir, StandAlone);
}

void TCustomInstall::BuildFromBuildInf() {
  try {
    Build(ProgramFileName(), ReadBuildInf(GetProgramDir()), true);
  } catch (const fw::Exception& E) {
    FExitCode = ecFailed;
    ShowMessage(E.Message());
  }
  TerminateApplication();
}

void TCustomInstall::BuildSetupArchive(const std::string& Dir, const std::string& SourceExe) {
  BuildSetupArchiveOf(Dir, SourceExe, *PresetupFiles());
}

void TCustomInstall::TransferToFloppies(const std::string& Drive) {
  TEngineFloppyUser user(*this);
  {
    TWaitCursor hourglass;
    user.ProcessMessages();
    try {
      std::string setupName;
      if (!EngineSelfExtractSwitch(setupName))
        throw IEInstall(
            "Sorry... You can only transfer this installation to floppies through the self-extracting file. Usage "
            "example: setup.exe *TODISK");
      TransferSetupToFloppies(GetArchivePath(), Drive, FloppyArchive(), user);
    } catch (const fw::Exception& E) {
      FExitCode = ecFailed;
      ShowMessage(E.Message());
    }
  }
  user.ProcessMessages();
  TerminateApplication();
}

TQnlkCompress& TCustomInstall::FloppyArchive() {
  return *SharedArchive();
}

void TCustomInstall::LocateSelfExtractArchive() {
  const std::string setupFile = GetArchivePath();
  const TSelfExtractInfo info = ReadSelfExtractInfo(setupFile);
  // A web setup keeps every file on the network: its setup file may hold no files.1.
  if (FDistributeType == dtWeb && info.SelfExtracting && !info.HasFiles1()) return;
  RequireSelfExtractArchive(info, setupFile);
  SharedArchive()->SetOffset(info.Files1First);
}

void TCustomInstall::Compress(int Options) {
  // The files learn anew while compressing whether they went into an archive.
  if (TCustomInstallFileList* files = AllInstallFiles())
    for (TCustomInstallFile* file : files->Items()) {
      file->CompressInfo().Compressed = 0;
      file->CompressInfo().NetFlag = false;
    }
  TFileContainer::Compress(Options);
}

}  // namespace setup
