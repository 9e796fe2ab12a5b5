// The install engine: the component TInstall on the setup program's main form. It reads
// the command line, decides at start-up whether the run builds a distribution, copies
// one to floppy disks, continues an installation after a reboot or installs, and runs
// the install sequence over the tree of installable objects. It is the root file
// container of that tree and the application's exception handler.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ExitCodes.h"
#include "InstallSwitches.h"
#include "core/Events.h"
#include "objects/FileContainer.h"
#include "objects/InstallEngine.h"
#include "objects/UninstallEXE.h"
#include "support/LanguageIds.h"

namespace fw {
class TCustomForm;
class TPicture;
class TStrings;
}  // namespace fw

namespace setup {

class TBuildInfo;
class TCustomInstall;
class TCustomInstallFile;
class TInstallInformation;
class TRegistrationInformation;
class TQnlkCompress;

SETUP_IEXCEPTION(IEInstallNetLocNil, IEInstall);

using TRebootWindowsEvent = fw::TMethodPtr<void(TCustomInstall* Install, bool& Continue)>;
using TBeforeRunFileEvent =
    fw::TMethodPtr<void(TCustomInstall* Install, TCustomInstallFile* FileToRun, bool& DefaultAction)>;
using TUserAbortEvent = fw::TMethodPtr<void(TCustomInstall* Install, bool& QuitOut)>;
using TCleanupEvent = fw::TMethodPtr<void(TCustomInstall* Install, bool& Continue)>;

// The registry key (HKEY_LOCAL_MACHINE) below which every installation record lives.
inline constexpr char kInstallRecordRoot[] = "\\SOFTWARE\\URQ\\Install";
// The name of the RunOnce value that continues an installation after the reboot.
inline constexpr char kRunOnceValueName[] = "QuenlarkUnfinished";
// The empty file by which the loader marks the temporary folder it made for one run;
// the clean-up removes no other folder.
inline constexpr char kLoaderFolderMarker[] = "~loader.tag";

// What reboots Windows: true when the restart was started. Tests put their own in place.
using TRebootRequest = bool (*)();
// Returns the previous request; nil puts the system's back.
TRebootRequest SetRebootRequest(TRebootRequest Request);

class TCustomInstall : public TFileContainer, public TInstallEngine, public IAddRemoveInformationSource {
  FW_CLASS(TCustomInstall, TFileContainer)
 public:
  explicit TCustomInstall(fw::TComponent* AOwner);
  ~TCustomInstall() override;

  // --- published properties ------------------------------------------------------
  bool AutoMaximizeWindow() const { return FAutoMaximizeWindow; }
  TBuildInfo* BuildInfo() const { return FBuildInfo.get(); }
  fw::TPicture* DialogThemeBitmap() const { return FDialogThemeBitmap.get(); }
  TDistributeType DistributeType() const { return FDistributeType; }
  bool HideMainForm() const { return FHideMainForm; }
  TInstallInformation* Information() const { return FInformation.get(); }
  void SetInformation(TInstallInformation* Value);
  TRegistrationInformation* RegistrationInformation() const { return FRegistrationInformation.get(); }
  TControlPanelExtensionInformation* ExtendedInformation() const { return FExtendedInformation.get(); }
  void SetExtendedInformation(TControlPanelExtensionInformation* Value);
  fw::TComponent* NetLocation() const { return FNetLocationComponent; }
  bool NoUninstall() const { return FNoUninstall; }
  void SetNoUninstall(bool Value) { FNoUninstall = Value; }
  fw::TStrings* PresetupFiles() const { return FPresetupFiles.get(); }
  bool Reboot() const { return FReboot; }
  void SetReboot(bool Value) { FReboot = Value; }
  bool RunAutomatic() const { return FRunAutomatic; }
  void SetRunAutomatic(bool Value) { FRunAutomatic = Value; }
  bool UseLoadingProgram() const { return FUseLoadingProgram; }

  virtual void SetAutoMaximizeWindow(bool Value);
  virtual void SetBuildInfo(TBuildInfo* Value);
  virtual void SetDialogThemeBitmap(fw::TPicture* Value);
  virtual void SetDistributeType(TDistributeType Value);
  virtual void SetHideMainForm(bool Value);
  virtual void SetPresetupFiles(fw::TStrings* Value);
  virtual void SetUseLoadingProgram(bool Value);
  // Takes a component that is a net install location (anything else raises IEInstall);
  // nil makes the distribution traditional.
  virtual void SetNetLocationComponent(fw::TComponent* Value);

  // --- events ----------------------------------------------------------------------
  fw::TNotifyEvent OnAfterInitialized;
  fw::TNotifyEvent OnBeforeReadArchiveInfo;
  fw::TNotifyEvent OnAfterReadArchiveInfo;
  fw::TNotifyEvent OnBeforeNotifyBadInstall;
  fw::TNotifyEvent OnAfterNotifyBadInstall;
  fw::TNotifyEvent OnBeforeNotifyGoodInstall;
  fw::TNotifyEvent OnAfterNotifyGoodInstall;
  TRebootWindowsEvent OnBeforeReboot;
  fw::TNotifyEvent OnFailedReboot;
  TBeforeRunFileEvent OnBeforeRunFile;
  TUserAbortEvent OnBeforeShutdown;
  TCleanupEvent OnBeforeCleanup;
  TUserAbortEvent OnUserAbort;

  // --- state -----------------------------------------------------------------------
  bool Started() const { return FStarted; }
  bool Installing() const { return FInstalling; }
  bool InstallAborted() const { return FInstallAborted; }
  int DeferredCount() const { return FDeferredCount; }
  const std::string& SourceDir() const { return FSourceDir; }
  const TInstallSwitches& Switches() const { return FSwitches; }
  fw::TCustomForm* MainForm() const { return FMainForm; }
  const std::string& CleanupBatchFile() const { return FCleanupBatchFile; }
  bool CleanupBatchWritten() const { return FCleanupBatchWritten; }
  // What this run came to, as the program's exit code.
  TExitCode ExitCode() const { return FExitCode; }

  // --- the run -----------------------------------------------------------------------
  // The main form's first OnShow: the form's own handler, then the installation.
  void StartOnShow(fw::TObject* Sender);
  // The install run.
  void Process() override;
  // The continuation after a reboot (switch r).
  void FinishAfterReboot() override;
  // Asks OnBeforeShutdown, then tells the application to end; true when it did not.
  bool Shutdown();
  // Removes what the current run added that was not there before it (its journal), and
  // puts the product's uninstall log back as the run found it.
  void UndoRun();
  // Reboots Windows; when that cannot be started, OnFailedReboot or a message.
  void RebootWindows();
  // The setup file this run was started from.
  std::string GetSetupFileName() const;
  // The folder of the running program (of the module in a library build), without
  // trailing backslash.
  std::string GetProgramDir() const;
  std::string GetLibraryFileName() const;
  TQnlkLanguage ReadSavedLanguage() const;
  void SaveLanguage();
  // The build of a distribution from "BUILD.INF" (switch b) and the copy of a setup to
  // floppy disks (switch f).
  void BuildFromBuildInf();
  void TransferToFloppies(const std::string& Drive);
  // With switch e: points the shared archive object at the main archive inside the
  // self-extracting setup file.
  void LocateSelfExtractArchive();
  // The archive headers and, for a network distribution, the remote file list.
  void FetchRemoteFileList();

  // --- virtual operations ------------------------------------------------------------
  virtual void RemoveInstallRecord();
  virtual void NotifyBadInstall();
  virtual void NotifyGoodInstall();
  // Looks up (and with Create, makes) the record of the running program file; Key is
  // its registry path, empty when there is none.
  virtual void FindInstallRecord(bool Create, std::string& Key);
  virtual void InstallContainersOfKind(int Kind, const std::string& StatusText);
  virtual void ParseCommandLine();
  virtual void RunFilesAfterInstall();
  virtual void RegisterRunOnce();
  // The application's exception handler. A failed or cancelled run is taken back first
  // (UndoRun), then the bad-install page follows.
  virtual void HandleException(fw::TObject* Sender, fw::Exception& E);
  virtual void Build(const std::string& SourceExe, const std::string& Dir, bool StandAlone);
  virtual void CleanupLoadingProgram();
  virtual void BuildSetupArchive(const std::string& Dir, const std::string& SourceExe);
  virtual void GetUnfinishedList(fw::TStrings& List);
  // Cancel on a wizard page: OnUserAbort decides; true ends the setup.
  virtual bool QueryUserAbort();
  virtual void ClearUnfinishedList();
  virtual void AddUnfinished(const std::string& Item, int Kind);

  // --- overrides -----------------------------------------------------------------------
  void Loaded() override;
  bool HasPathSpecifier() const override { return false; }
  void Compress(int Options) override;
  void ReadInfoFromArchive() override;

  // --- the engine as objects see it -----------------------------------------------------
  TInstallContainer& EngineContainer() override { return *this; }
  bool EngineInstalling() const override { return FInstalling; }
  TDistributeType EngineDistributeType() const override { return FDistributeType; }
  const TInstallInformation& EngineInformation() const override { return *FInformation; }
  std::string EngineSourceDir() const override { return FSourceDir; }
  bool EngineSelfExtractSwitch(std::string& FileName) const override;
  std::string EngineArchivePath() const override { return GetArchivePath(); }
  void EngineRequestReboot() override { FReboot = true; }
  void EngineAddUnfinished(const std::string& Item, int Kind) override { AddUnfinished(Item, Kind); }
  INetInstallLocation* EngineNetInstallLocation() const override { return FNetLocation; }
  void EngineUninstallerRemoved() override;
  bool EngineReboot() const override { return FReboot; }
  void SetEngineReboot(bool Value) override { FReboot = Value; }
  bool EngineQueryUserAbort() override { return QueryUserAbort(); }
  fw::TPicture* EngineDialogThemeBitmap() const override { return FDialogThemeBitmap.get(); }
  fw::TCustomForm* EngineMainForm() const override { return FMainForm; }
  const TControlPanelExtensionInformation& EngineExtendedInformation() const override { return *FExtendedInformation; }
  const TRegistrationInformation& EngineRegistrationInformation() const override { return *FRegistrationInformation; }
  // The extended information forgets an installed file that goes.
  void RemoveReference(TInstallContainer* Obj) override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

  // What the platform gives the engine; tests replace these.
  // The arguments after the program's name.
  virtual std::vector<std::string> CommandLineArguments() const;
  // The running program file (the module's file in a library build).
  virtual std::string ProgramFileName() const;
  // Tells the application to end its message loop.
  virtual void TerminateApplication();
  // The application's standard display of an exception.
  virtual void ShowError(const fw::Exception& E);
  // A message box with the translated text.
  virtual void ShowMessage(const std::string& Text);
  // The archive object that writes the floppy volumes: the shared one. A volume ends
  // where a write to the disk comes up short.
  virtual TQnlkCompress& FloppyArchive();

 private:
  friend class TInstallRecordAccess;
  // The good end of an installation or of its continuation: notice, clean-up, record
  // removal, shutdown and the programs to start.
  void FinishGoodInstall();
  void RunPhases();
  void DispatchStart();
  void HookMainForm();
  void RestoreOnShow();
  void ProcessUnfinishedLine(const std::string& Line);
  // A run begins: its exit code is its own (an error told before it ended nothing).
  void BeginRunOutcome();
  bool LoaderMadeProgramFolder() const;
  void WriteCleanupBatch();
  std::string UnfinishedKey() const;

  bool FStarted = false;
  std::string FCleanupBatchFile;
  int FDeferredCount = 0;
  fw::TNotifyEvent FSavedOnShow;
  bool FCleanupBatchWritten = false;
  fw::TCustomForm* FMainForm = nullptr;
  bool FInstallAborted = false;
  bool FRecordMadeByRun = false;  // the run made its installation record (none was found)
  bool FInstalling = false;
  // A run (install or continuation) has begun: from then on only runs set the exit code.
  bool FRunBegun = false;
  // The before-install wizard is open: an error a user's action on its pages raises is
  // told, and the wizard stays.
  bool FBeforeInstallWizardOpen = false;
  std::string FSourceDir;
  TInstallSwitches FSwitches;
  TExitCode FExitCode = ecSuccess;

  bool FAutoMaximizeWindow = true;
  std::unique_ptr<TBuildInfo> FBuildInfo;
  std::unique_ptr<fw::TPicture> FDialogThemeBitmap;
  TDistributeType FDistributeType = dtTraditional;
  bool FHideMainForm = false;
  std::unique_ptr<TInstallInformation> FInformation;
  std::unique_ptr<TRegistrationInformation> FRegistrationInformation;
  std::unique_ptr<TControlPanelExtensionInformation> FExtendedInformation;
  fw::TComponent* FNetLocationComponent = nullptr;
  INetInstallLocation* FNetLocation = nullptr;
  bool FNoUninstall = false;
  std::unique_ptr<fw::TStrings> FPresetupFiles;
  bool FReboot = false;
  bool FRunAutomatic = true;
  bool FUseLoadingProgram = true;
};

class TInstall : public TCustomInstall {
  FW_CLASS(TInstall, TCustomInstall)
 public:
  using TCustomInstall::TCustomInstall;
};

// The moment the current install run began; 0 until then.
double InstallStartTime();

// What the user is told when an undo left things (one line each) that changed since the
// run made them or could not go: the first lines and how many more, so that the box fits
// the screen.
std::string UndoLeftText(const std::vector<std::string>& Stayed);

}  // namespace setup
