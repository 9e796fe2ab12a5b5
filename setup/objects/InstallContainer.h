// TInstallContainer, the base of every installable object, and TInstallObject, an
// object that sits in a container: helper lists kept in category order, the processing
// rule (OS, Include, setup type, events, uninstall log) and the two message paths
// (broadcast down to helpers, report up the Container chain).
#pragma once

#include <string>
#include <vector>

#include "InstallTypes.h"
#include "core/Classes.h"
#include "core/Events.h"
#include "support/Errors.h"

namespace setup {

SETUP_IEXCEPTION(IEInstallContainer, IException);

class TInstallContainer;
class TCustomInstallFile;
class TCustomPathSpecifier;

using TInstallContainerNotifyEvent = fw::TMethodPtr<void(TInstallContainer* Container)>;
using TInstallFileNotifyEvent = fw::TMethodPtr<void(TCustomInstallFile* InstallFile)>;
using TInstallFileStatusEvent =
    fw::TMethodPtr<void(TCustomInstallFile* InstallFile, int FilePercentDone, int TotalPercentDone)>;
using TInstallFileNewDiskEvent = fw::TMethodPtr<void(TCustomInstallFile* InstallFile, int NewDisk, std::string& Path)>;
using TDataReceivedEvent = fw::TMethodPtr<void(fw::TObject* Sender, const std::string& FileName, int Bytes,
                                               int TotalBytes, int FileSize, const char* Buffer)>;

// Whether the component lives in a form designer.
bool IsDesignTime(const fw::TComponent* Component);

// Every concrete class names its category (RegisteredType) through its constructor, so
// that the category is known while the object is being built: a new object may join a
// container's helpers before its own constructor has finished.
class TInstallContainer : public fw::TComponent {
  FW_CLASS(TInstallContainer, fw::TComponent)
 public:
  explicit TInstallContainer(fw::TComponent* AOwner, int ARegisteredType = 0);
  ~TInstallContainer() override;

  // --- state -----------------------------------------------------------------
  bool InstalledByContainer() const { return FInstalledByContainer; }
  void SetInstalledByContainer(bool Value) { FInstalledByContainer = Value; }
  bool Include() const { return FInclude; }
  void SetInclude(bool Value) { FInclude = Value; }
  bool Done() const { return FDone; }
  void SetDone(bool Value) { FDone = Value; }
  TInstallType SelectedInstallType() const { return FSelectedInstallType; }
  bool Uninstall() const { return FUninstall; }
  void SetUninstall(bool Value) { FUninstall = Value; }
  OSSet OS() const { return FOS; }
  void SetOS(OSSet Value) { FOS = Value; }
  const std::string& DestDir() const { return FDestDir; }
  TCustomPathSpecifier* DestDirType() const { return FDestDirType; }
  TInstallTypeSet InstallTypes() const { return FInstallTypes; }
  // The empty set stores itFull alone.
  void SetInstallTypes(TInstallTypeSet Value);
  int Order() const { return FOrder; }
  void SetOrder(int Value) { FOrder = Value; }
  bool DestDirTypeAssigned() const { return FDestDirTypeAssigned; }
  bool DestDirTypeDefaulted() const { return FDestDirTypeDefaulted; }

  TInstallContainerNotifyEvent OnAfterProcess;
  TInstallContainerNotifyEvent OnBeforeProcess;

  // The setup types stored when a configuration does not say (all four).
  static constexpr TInstallTypeSet kStreamedInstallTypes{itFull, itDefault, itCompact, itCustom};
  // The operating systems an object applies to by default.
  static OSSet DefaultOS();

  // --- helpers ---------------------------------------------------------------
  int GetHelperCount() const { return static_cast<int>(FHelpers.size()); }
  // Raises IEInstallContainer outside 0..count-1.
  TInstallContainer* GetHelper(int Index) const;
  const std::vector<TInstallContainer*>& Helpers() const { return FHelpers; }
  // The Index-th helper of the class (or a descendant); raises IEInstallContainer
  // "Bad call to the Comp procedure ..." when there is none.
  TInstallContainer* Comp(int Index, const fw::TClass& ClassType) const;
  int CompCount(const fw::TClass& ClassType) const;
  // Frees every helper of the class, last first.
  void FreeHelpersOfClass(const fw::TClass& ClassType);

  // --- messages --------------------------------------------------------------
  // InformationEvent on every direct helper of category 2000 or more, in list order.
  void BroadcastInformation(fw::TObject* Sender, int Code, fw::TObject* PO);
  void HideStatusMessage();
  // Sets the setup type here and, depth first, in every helper.
  void SetSelectedInstallType(TInstallType Type);

  // --- virtual operations ----------------------------------------------------
  // What kind of container this is; the file containers and groups answer yes.
  virtual bool IsFileContainer() const { return false; }
  virtual bool IsInstallGroup() const { return false; }
  virtual int GetFileContainerCount() const;
  virtual TInstallContainer* GetFileContainer(int Index) const;
  virtual void SetDestDir(const std::string& Value);
  // Outside loading a specifier first checks this object (ValidateObject may raise).
  virtual void SetDestDirType(TCustomPathSpecifier* Value);
  // Obj is being destroyed: drop every reference to it.
  virtual void RemoveReference(TInstallContainer* Obj);
  virtual void ShowStatusMessage(const std::string& Text);
  // The report receiver (codes from 1001); empty here.
  virtual void DoInformationEventControl(fw::TObject* Sender, int Code, fw::TObject* PO) {}
  // The broadcast receiver (negative codes); empty here.
  virtual void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) {}
  // The specifier's path for this object followed by DestDir, without trailing "\".
  virtual std::string GetFullDestDir() const;
  // The category; raises IEInstallContainer "Class must declare a registered type" for a
  // class that named none.
  int RegisteredType() const;
  virtual void AddHelperComponent(TInstallContainer* Obj);
  virtual void Process();
  virtual void Install();
  virtual bool IsSelected() const;
  virtual void FinishAfterReboot() {}
  // Dialogs translate their form here.
  virtual void TranslateForm() {}
  virtual void RemoveHelperComponent(TInstallContainer* Obj);
  // Logs what the object installed under the uninstall key; empty here.
  virtual void WriteUninstallInfo(const std::string& Key) {}

  void Loaded() override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
  // Puts a default specifier in place as a constructor does (Loaded drops it again
  // when the stored configuration did not assign one).
  void DefaultDestDirType(TCustomPathSpecifier* Value);
  // Stores the specifier without checks.
  void StoreDestDirType(TCustomPathSpecifier* Value);

 private:
  int FRegisteredType;
  bool FInstalledByContainer = false;
  std::vector<TInstallContainer*> FHelpers;
  bool FInclude = true;
  bool FDone = false;
  TInstallType FSelectedInstallType = itFull;
  bool FUninstall = true;
  OSSet FOS;
  std::string FDestDir;
  TCustomPathSpecifier* FDestDirType = nullptr;
  TInstallTypeSet FInstallTypes{itFull, itDefault, itCompact};
  int FOrder = -1;
  bool FDestDirTypeAssigned = false;
  bool FDestDirTypeDefaulted = false;
};

class TInstallObject : public TInstallContainer {
  FW_CLASS(TInstallObject, TInstallContainer)
 public:
  explicit TInstallObject(fw::TComponent* AOwner, int ARegisteredType = 0);

  TInstallContainer* Container() const { return FContainer; }
  bool ContainerAssigned() const { return FContainerAssigned; }
  bool ContainerDefaulted() const { return FContainerDefaulted; }
  // Joins Value's helpers (which may refuse, leaving everything unchanged) and leaves
  // the old container's. Outside loading a new container brings the container-folder
  // specifier with an empty DestDir; nil drops that specifier.
  virtual void SetContainer(TInstallContainer* Value);

  // Sends a report to the container (nothing without one).
  void ReportInformation(int Code, fw::TObject* PO);

  void RemoveReference(TInstallContainer* Obj) override;
  // Inside a running installation an object waits for its container to be done.
  void Process() override;
  void Loaded() override;

 private:
  bool FContainerAssigned = false;
  bool FContainerDefaulted = false;
  TInstallContainer* FContainer = nullptr;
};

}  // namespace setup
