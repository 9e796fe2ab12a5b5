// The engine as every installable object sees it. The engine component (a file
// container of a later layer) also derives from TInstallEngine and registers itself as
// the program's one GlobalInstall.
#pragma once

#include <memory>
#include <string>

#include "InstallTypes.h"
#include "support/Errors.h"

namespace fw {
class TCustomForm;
class TPicture;
}  // namespace fw

namespace setup {

class TInstallContainer;
class TInstallInformation;
class INetInstallLocation;
class TUninstallFileLog;
class TInstallRunJournal;

// Codes the engine broadcasts to its helpers (the dialog managers listen).
constexpr int icReadArchiveInfoStarts = -984;
constexpr int icReadArchiveInfoEnds = -983;
constexpr int icBeforeInstallWizard = -986;  // just before the before-install wizard
constexpr int icBeforeInstall = -980;        // the before-install wizard runs
constexpr int icRebootDue = -987;            // the reboot wizard runs (it may clear the reboot)
constexpr int icGoodInstallNotice = -995;    // then icAfterGoodInstall
constexpr int icAfterGoodInstall = -979;     // the good-install wizard runs
constexpr int icBadInstallNotice = -994;     // then icAfterBadInstall
constexpr int icAfterBadInstall = -978;      // the bad-install wizard runs

// The engine's own errors (also raised by what asks the engine for its switches).
SETUP_IEXCEPTION(IEInstall, IException);

class TInstallEngine {
 public:
  TInstallEngine(const TInstallEngine&) = delete;
  TInstallEngine& operator=(const TInstallEngine&) = delete;

  // The engine as the root of the object tree.
  virtual TInstallContainer& EngineContainer() = 0;
  // True while an installation runs.
  virtual bool EngineInstalling() const = 0;
  virtual TDistributeType EngineDistributeType() const = 0;
  // Company name, product name and version; the product name names the uninstall key.
  virtual const TInstallInformation& EngineInformation() const = 0;
  // The folder the setup runs from (its source or build folder), as the engine keeps
  // it. The engine fills this in; until then it is empty.
  virtual std::string EngineSourceDir() const { return std::string(); }
  // Whether the setup was started with the self-extractor's switch ("-e"), and the
  // switch's value, the self-extracting file's name, as given. The engine fills this in;
  // until then there is no switch.
  virtual bool EngineSelfExtractSwitch(std::string& FileName) const { return false; }
  // The path of the engine's own archive (the main archive); the shared archive object
  // serves the files stored there. Empty until the engine fills it in.
  virtual std::string EngineArchivePath() const { return std::string(); }
  // A file could only be put in place for the next start: the setup ends with a reboot.
  virtual void EngineRequestReboot() {}
  // Records Item in the installation record for completion after the restart: kind 0 a
  // file object's name (FinishAfterReboot runs for it), kind 1 a batch file to delete.
  virtual void EngineAddUnfinished(const std::string& Item, int Kind) {}
  // The installation-wide net install location; none until the engine has one.
  virtual INetInstallLocation* EngineNetInstallLocation() const { return nullptr; }
  // The configuration's uninstaller object goes: a build must not add it back.
  virtual void EngineUninstallerRemoved() {}
  // Asks the user whether to cancel the installation; true means cancel. Until the
  // engine asks, nobody objects.
  virtual bool EngineQueryUserAbort() { return true; }
  // The picture the wizard's pages show at their left; nil when there is none.
  virtual fw::TPicture* EngineDialogThemeBitmap() const { return nullptr; }
  // Whether the setup reboots Windows when it ends (the reboot page lets the user choose).
  virtual bool EngineReboot() const { return false; }
  virtual void SetEngineReboot(bool Value) {}
  // The form the engine runs on; nil when there is none.
  virtual fw::TCustomForm* EngineMainForm() const { return nullptr; }

  // The log of installed files the current run reads and writes, and the journal of
  // what it adds to the machine: both made afresh by BeginRun when a run starts its
  // objects; nil before (and without a product name). The objects use them while the
  // engine installs.
  TUninstallFileLog* RunFileLog() const { return FRunFileLog.get(); }
  TInstallRunJournal* RunJournal() const { return FRunJournal.get(); }
  // Reads the product's log and remembers its uninstall key for the run that starts now.
  void BeginRun();
  // Forgets the last run's log and journal.
  void EndRun();

 protected:
  TInstallEngine();
  // Stops being the GlobalInstall.
  virtual ~TInstallEngine();

 private:
  std::unique_ptr<TUninstallFileLog> FRunFileLog;
  std::unique_ptr<TInstallRunJournal> FRunJournal;
};

// The program's engine, or nil.
TInstallEngine* GlobalInstall();
// Set by the engine's constructor, cleared by its destructor.
void SetGlobalInstall(TInstallEngine* Engine);

// The engine's distribution kind; dtTraditionalNet without an engine.
TDistributeType CurrentDistributeType();
// The engine's running flag; false without an engine.
bool IsInstallRunning();

// The parent of every product's uninstall key (under HKEY_LOCAL_MACHINE).
inline constexpr char kUninstallRootKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// The product's uninstall key. Raises IEInstallContainer when there is no engine or its
// product name is blank: the log must never land in the Uninstall root itself.
std::string ProductUninstallKey();

}  // namespace setup
