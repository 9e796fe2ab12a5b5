// The install run: Process in its order, the later phases by object kind, the notices,
// the exception handler, shutdown and the programs started after installation.
#include <windows.h>

#include <chrono>

#include "Install.h"
#include "RestartCommands.h"
#include "archive/QnlkCompress.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/InstallRunJournal.h"
#include "objects/WaitCursor.h"
#include "support/ProgramLauncher.h"

namespace setup {

namespace {

double gInstallStartTime = 0;

// Now, in days since 30 December 1899 (UTC), as the record stores dates.
double NowAsDays() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FileTimeToDays((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

struct TPhase {
  int Kind;
  const char* StatusText;
};

// The later phases, in their order.
constexpr TPhase kPhases[] = {
    {2750, "Installing ODBC drivers..."},
    {2875, "Installing ODBC sources..."},
    {3000, "Installing Borland Database Engine aliases..."},
    {rtLinkGroup, "Installing shell links..."},
    {rtShellLink, "Installing shell links..."},
    {4000, "Installing INI files..."},
    {rtRegistry, "Installing registry keys..."},
    {8700, ""},
    {9052, ""},
    {9050, ""},
    {9054, ""},
};

// Whether the object and every container above it apply to this version of Windows and
// are included: a file of a folder for other systems was never installed here (the
// continuation after a restart installs nothing, so only the tree tells).
bool AppliesHere(TInstallContainer* Object) {
  TOSVerType version;
  try {
    version = GetOSVersion();
  } catch (const EAPIRoutines&) {
    return true;  // the version cannot be read: the file decides as before
  }
  for (int depth = 0; Object != nullptr && depth < 1000; ++depth) {
    if (!Object->Include() || !Object->OS().Contains(version)) return false;
    auto* object = dynamic_cast<TInstallObject*>(Object);
    if (object == nullptr) break;
    Object = object->Container();
  }
  return true;
}

}  // namespace

double InstallStartTime() {
  return gInstallStartTime;
}

std::string UndoLeftText(const std::vector<std::string>& Stayed) {
  constexpr size_t kShownLines = 20;
  std::string text = TranslateEnglishText("Setup could not take back everything it did. These stay:");
  for (size_t i = 0; i < Stayed.size() && i < kShownLines; ++i) text += "\n" + Stayed[i];
  if (Stayed.size() > kShownLines)
    text += "\n" + fw::Format("and %d more", static_cast<int>(Stayed.size() - kShownLines));
  return text;
}

void TCustomInstall::BeginRunOutcome() {
  FRunBegun = true;
  FExitCode = ecSuccess;
}

void TCustomInstall::Process() {
  BeginRunOutcome();
  FInstallAborted = false;
  FRecordMadeByRun = false;
  EndRun();
  gInstallStartTime = NowAsDays();
  if (FailedRegistrationFiles() != nullptr)
    while (FailedRegistrationFiles()->Count() > 0)
      FailedRegistrationFiles()->Remove(FailedRegistrationFiles()->GetItem(0));
  FDeferredCount = 0;
  FCleanupBatchWritten = false;
  FInstalling = true;
  if (FUseLoadingProgram && !FSwitches.Has(swSource))
    throw IEInstall(
        "The path of the loading program was not passed correctly. If you are running your install project in the "
        "IDE, then you need to add two command line parameters. In Run | Parameters | \"Run Parameters\", type in: -d "
        "\"-sBUILDPATH\" where BUILDPATH is the path into which you built the distributables. Example: -d \"-sC:\\My "
        "Build\".");
  if (FSwitches.Has(swClearUnfinished)) ClearUnfinishedList();
  FRecordMadeByRun = InstallRecordKey() == nullptr || InstallRecordKey()->empty();
  std::string key;
  FindInstallRecord(true, key);
  if (InstallRecordKey() != nullptr) *InstallRecordKey() = key;
  ClearUnfinishedList();
  if (FSwitches.Has(swSelfExtract)) LocateSelfExtractArchive();
  ReadInfoFromArchive();
  if (OnAfterInitialized) OnAfterInitialized(this);
  BroadcastInformation(this, icBeforeInstallWizard, nullptr);
  {
    // What leaves the wizard (a cancel, a page that cannot be shown) passes the scope
    // before it reaches the handler: only errors of the user's actions on its pages
    // find the wizard open.
    struct TWizardOpen {
      bool& Open;
      explicit TWizardOpen(bool& Flag) : Open(Flag) { Open = true; }
      ~TWizardOpen() { Open = false; }
    } open(FBeforeInstallWizardOpen);
    BroadcastInformation(this, icBeforeInstall, nullptr);
  }
  if (FInstallAborted) return;

  BeginRun();
  try {
    TInstallObject::Process();
    if (TCustomInstallFileList* failed = FailedRegistrationFiles()) {
      std::vector<TCustomInstallFile*> files = failed->Items();
      for (TCustomInstallFile* file : files)
        if (failed->IndexOf(file) >= 0) file->RegisterActiveX();
    }
    RunPhases();
  } catch (...) {
    if (OnAfterInstallObjects) OnAfterInstallObjects(this, SharedArchive() != nullptr && SharedArchive()->Abort());
    throw;
  }
  if (OnAfterInstallObjects) OnAfterInstallObjects(this, SharedArchive() != nullptr && SharedArchive()->Abort());
  // The exception handler may have ended the run while a window of the install step
  // was handling messages: nothing of the good end follows, and what the step did after
  // the handler is taken back too.
  if (FInstallAborted) {
    UndoRun();
    return;
  }
  // Everything is in place: the old files of the files it replaced go, and what follows
  // (a restart's deferred work among it) is not taken back.
  if (TInstallRunJournal* journal = RunJournal()) journal->Complete();
  EndRun();

  // Work left for the restart makes the run end as one waiting for the restart, also
  // when a handler cleared the reboot: the continuation needs its record and the
  // loader's folder, and gives the good-install notice.
  const bool restartDue = FDeferredCount > 0 || FReboot;
  if (restartDue) {
    RegisterRunOnce();
    SaveLanguage();
  }
  if (FReboot) {
    BroadcastInformation(this, icRebootDue, nullptr);
    if (FReboot && OnBeforeReboot) OnBeforeReboot(this, FReboot);
    if (FReboot) {
      RebootWindows();
      TerminateApplication();
    }
  }
  if (restartDue) {
    // The continuation after the restart gives the notice, cleans up and removes the
    // record.
    FExitCode = ecRestartPending;
    TerminateApplication();
    return;
  }
  if (FInstallAborted) return;
  FinishGoodInstall();
}

void TCustomInstall::FinishGoodInstall() {
  NotifyGoodInstall();
  CleanupLoadingProgram();
  RemoveInstallRecord();
  // The programs start before the program is told to end: the quit message would end
  // the modal loop of the box that tells a program that failed to start.
  RunFilesAfterInstall();
  if (FRunAutomatic) Shutdown();
  FInstalling = false;
}

void TCustomInstall::RunPhases() {
  for (const TPhase& phase : kPhases) InstallContainersOfKind(phase.Kind, phase.StatusText);
}

void TCustomInstall::InstallContainersOfKind(int Kind, const std::string& StatusText) {
  TInstallContainerList* all = AllInstallObjects();
  if (all == nullptr) return;
  bool shown = false;
  struct THide {
    TCustomInstall& Engine;
    bool& Shown;
    ~THide() {
      if (!Shown) return;
      try {
        Engine.HideStatusMessage();
      } catch (...) {
      }
    }
  } hide{*this, shown};
  // An object's work may add or free objects: the index is checked against the list
  // each time.
  for (int i = 0; i < all->Count(); ++i) {
    TInstallContainer* object = all->GetItem(i);
    if (object->RegisteredType() != Kind) continue;
    if (!shown && !fw::Trim(StatusText).empty()) {
      ShowStatusMessage(TranslateEnglishText(StatusText));
      shown = true;
    }
    object->Process();
  }
}

void TCustomInstall::ReadInfoFromArchive() {
  if (ArchiveInfoRead()) return;
  if (OnBeforeReadArchiveInfo) OnBeforeReadArchiveInfo(this);
  BroadcastInformation(this, icReadArchiveInfoStarts, nullptr);
  {
    TWaitCursor cursor;
    struct THide {
      TCustomInstall& Engine;
      ~THide() {
        try {
          Engine.HideStatusMessage();
        } catch (...) {
        }
      }
    } hide{*this};
    ShowStatusMessage(TranslateEnglishText("Reading file information..."));
    FetchRemoteFileList();
  }
  SetArchiveInfoRead(true);
  if (OnAfterReadArchiveInfo) OnAfterReadArchiveInfo(this);
  BroadcastInformation(this, icReadArchiveInfoEnds, nullptr);
}

void TCustomInstall::NotifyGoodInstall() {
  if (OnBeforeNotifyGoodInstall) OnBeforeNotifyGoodInstall(this);
  BroadcastInformation(this, icGoodInstallNotice, nullptr);
  BroadcastInformation(this, icAfterGoodInstall, nullptr);
  if (OnAfterNotifyGoodInstall) OnAfterNotifyGoodInstall(this);
}

void TCustomInstall::NotifyBadInstall() {
  // A failure or cancel while copying ends the copy too: its window (with its Cancel
  // button) goes before the bad-install page shows.
  BroadcastInformation(this, icOperationEnded, nullptr);
  if (OnBeforeNotifyBadInstall) OnBeforeNotifyBadInstall(this);
  BroadcastInformation(this, icBadInstallNotice, nullptr);
  BroadcastInformation(this, icAfterBadInstall, nullptr);
  if (OnAfterNotifyBadInstall) OnAfterNotifyBadInstall(this);
}

void TCustomInstall::HandleException(fw::TObject* Sender, fw::Exception& E) {
  bool userAbort = dynamic_cast<EAIUserAbort*>(&E) != nullptr;
  // Outside a run the error is told. Before any run it is the program's outcome; once a
  // run has begun, only the run's own end sets the exit code. A user's action on a page
  // of the before-install wizard that fails (the folder browser, say) is told too, and
  // the user goes on with the wizard: nothing is installed yet.
  if (!FInstalling || (FBeforeInstallWizardOpen && !userAbort)) {
    if (!FRunBegun) FExitCode = ecFailed;
    ShowError(E);
    return;
  }
  FExitCode = userAbort ? ecCancelled : ecFailed;
  FInstalling = false;
  FInstallAborted = true;
  UndoRun();
  try {
    if (userAbort) {
      NotifyBadInstall();
      CleanupLoadingProgram();
      RemoveInstallRecord();
      if (FRunAutomatic) Shutdown();
      return;
    }
    // A failed run keeps no record it made, unless work waits for the restart.
    if (FRecordMadeByRun && FDeferredCount == 0) RemoveInstallRecord();
    // The error is shown even when the bad-install notice fails.
    try {
      NotifyBadInstall();
    } catch (...) {
      ShowError(E);
      throw;
    }
    ShowError(E);
    Shutdown();
  } catch (...) {
    if (FRunAutomatic) TerminateApplication();
  }
}

void TCustomInstall::UndoRun() {
  TInstallRunJournal* journal = RunJournal();
  if (journal == nullptr) return;
  std::vector<std::string> stayed;
  try {
    stayed = journal->Undo();
  } catch (...) {
    // What could not be taken back stays; the user hears of the failure itself.
  }
  if (stayed.empty()) return;
  // What changed since the run made it, or could not go, stays: the user learns what.
  const std::string text = UndoLeftText(stayed);
  try {
    ShowMessage(text);
  } catch (...) {
    // The bad-install page still follows.
  }
}

bool TCustomInstall::Shutdown() {
  bool quitOut = true;
  if (OnBeforeShutdown) OnBeforeShutdown(this, quitOut);
  if (quitOut) TerminateApplication();
  return !quitOut;
}

bool TCustomInstall::QueryUserAbort() {
  bool quitOut = true;
  if (OnUserAbort) OnUserAbort(this, quitOut);
  return quitOut;
}

void TCustomInstall::RunFilesAfterInstall() {
  TCustomInstallFileList* files = AllInstallFiles();
  if (files == nullptr) return;
  TProgramLauncher launcher(nullptr);
  std::vector<TCustomInstallFile*> list = files->Items();
  for (TCustomInstallFile* file : list) {
    if (files->IndexOf(file) < 0 || !file->RunAfterInstall() || !file->Include()) continue;
    if (!AppliesHere(file)) continue;
    bool defaultAction = true;
    if (OnBeforeRunFile) OnBeforeRunFile(this, file, defaultAction);
    if (!defaultAction) continue;
    launcher.SetFileName(file->GetDestFileName());
    launcher.SetParameters(file->RunParameters());
    launcher.SetShowMode(smNormal);
    try {
      launcher.Execute();
    } catch (const fw::Exception& e) {
      // The installation is complete: a program that does not start is told, not a
      // failed setup. The user learns which program.
      ShowMessage(fw::Format(TranslateEnglishText("%s could not be started."), file->GetDestFileName()) + "\n" +
                  e.Message());
    }
  }
}

}  // namespace setup
