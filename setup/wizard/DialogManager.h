// The dialog manager: the component of a configuration that runs one wizard (before
// installing, after a good or a bad installation, for a reboot) or shows the progress
// windows while files are copied, as the engine's information codes arrive. The form
// classes that wizards and progress windows are made of are registered by the
// wizard library's start-up, in the order of its page units.
#pragma once

#include <vector>

#include "core/TypInfo.h"
#include "objects/InstallContainer.h"

namespace fw {
class TCustomForm;
}

namespace setup {

class TBaseDuringCopyForm;
class TCustomBaseInstallDlg;
class TFileStatusParameter;
class TDownloadStatusParameter;

enum class TManagerType {
  dmBeforeInstall,
  dmAfterGoodInstall,
  dmAfterBadInstall,
  dmDuringCopyFiles,
  dmChangeDisk,
  dmReboot,
  dmUninstall
};
using enum TManagerType;
const fw::TEnumInfo& ManagerTypeInfo();

// Where a window sits: ordinal div 3 is the row (centre, bottom, top), mod 3 the column
// (left, centre, right).
enum class TQuenlarkDialogPosition {
  qdpCenterLeft,
  qdpCenter,
  qdpCenterRight,
  qdpBottomLeft,
  qdpBottomCenter,
  qdpBottomRight,
  qdpTopLeft,
  qdpTopCenter,
  qdpTopRight
};
using enum TQuenlarkDialogPosition;
const fw::TEnumInfo& DialogPositionInfo();

// The codes the engine sends when a wizard is due.
constexpr int icRunBeforeInstall = -980;
constexpr int icRunAfterGoodInstall = -979;
constexpr int icRunAfterBadInstall = -978;
constexpr int icRunReboot = -987;

class TDialogManager : public TInstallObject {
  FW_CLASS(TDialogManager, TInstallObject)
 public:
  explicit TDialogManager(fw::TComponent* AOwner);
  ~TDialogManager() override;

  TManagerType ManagerType() const { return FManagerType; }
  void SetManagerType(TManagerType Value) { FManagerType = Value; }
  TQuenlarkDialogPosition Position() const { return FPosition; }
  void SetPosition(TQuenlarkDialogPosition Value) { FPosition = Value; }
  int RelativeLeftOffset() const { return FRelativeLeftOffset; }
  void SetRelativeLeftOffset(int Value) { FRelativeLeftOffset = Value; }
  int RelativeTopOffset() const { return FRelativeTopOffset; }
  void SetRelativeTopOffset(int Value) { FRelativeTopOffset = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { FHeight = Value; }

  // Acts on the codes of its own manager type (run the wizard, progress, end of a copy
  // run, disk change); every other code is ignored.
  void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) override;

  // Runs the wizard of this manager modally; raises EAIUserAbort when the user cancels.
  // A wizard without a page to show ends at once as a success.
  virtual void Execute();
  // Asks for the next disk through the first registered change-disk form (nothing when
  // none is registered); PO is the list (install file, TDiskParameter).
  virtual void ShowChangeDisk(fw::TObject* PO);

  // The progress windows of a copy run: made at the first report, told of every report,
  // hidden at the run's end (the application object owns and frees them).
  void CreateDuringCopyForms();
  virtual void NotifyDuringCopyForms(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus);
  virtual void CloseDuringCopyForms();
  const std::vector<TBaseDuringCopyForm*>& DuringCopyForms() const { return FDuringCopyForms; }

  // The dialog components attached to this manager (references only). AddDialog raises
  // Exception for nil; RemoveDialog ignores a dialog that is not listed.
  void AddDialog(TCustomBaseInstallDlg* Dialog);
  void RemoveDialog(TCustomBaseInstallDlg* Dialog);
  const std::vector<TCustomBaseInstallDlg*>& Dialogs() const { return FDialogs; }

  // A listed dialog that is destroyed leaves the list.
  void RemoveReference(TInstallContainer* Obj) override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  TManagerType FManagerType = dmBeforeInstall;
  TQuenlarkDialogPosition FPosition = qdpCenter;
  int FRelativeLeftOffset = 0;
  int FRelativeTopOffset = 0;
  int FWidth = 478;
  int FHeight = 395;
  std::vector<TBaseDuringCopyForm*> FDuringCopyForms;
  std::vector<TCustomBaseInstallDlg*> FDialogs;
};

// The manager whose wizard or change-disk form is being built and shown; nil otherwise.
TDialogManager* CurrentDialogManager();

// The first dialog manager of the type that belongs to the program's running engine;
// nil when there is none.
TDialogManager* FindDialogManager(TManagerType ManagerType);

// --- the registries of form classes ------------------------------------------------

// A registered form class, with the dialog component that lends the form its
// settings (nil for none; a dialog that is destroyed leaves its entries).
struct TFormEntry {
  const fw::TClass* FormClass = nullptr;
  TCustomBaseInstallDlg* Dialog = nullptr;
  int Extra = 0;
};

// Wizard pages (TBaseInstallForm descendants), progress windows (TBaseDuringCopyForm
// descendants) and change-disk forms (TBaseChangeDiskForm descendants). Registering
// outside the wizard library's life raises EComponentError.
const TFormEntry& RegisterBaseInstallForm(const fw::TClass& FormClass, TCustomBaseInstallDlg* Dialog = nullptr,
                                          int Extra = 0);
const TFormEntry& RegisterDuringCopyForm(const fw::TClass& FormClass, TCustomBaseInstallDlg* Dialog = nullptr,
                                         int Extra = 0);
const TFormEntry& RegisterChangeDiskForm(const fw::TClass& FormClass, TCustomBaseInstallDlg* Dialog = nullptr,
                                         int Extra = 0);
int BaseInstallFormCount();
// Raises Exception "The BIFList is NIL" without the list, "%d is an invalid index in the
// BIFList" outside it.
const TFormEntry& GetBaseInstallFormEntry(int Index);
const std::vector<TFormEntry>* DuringCopyFormEntries();
const std::vector<TFormEntry>* ChangeDiskFormEntries();
// The list of user-interface form classes: it exists with the wizard library, and
// nothing in the setup fills or reads it.
std::vector<TFormEntry>* UserInterfaceFormEntries();
// Clears the dialog from every registry entry that names it.
void ForgetDialogInEntries(const TCustomBaseInstallDlg* Dialog);

// Creates a form of the class, owned by Owner, from its form resource.
fw::TCustomForm* CreateRegisteredForm(const fw::TClass& FormClass, fw::TComponent* Owner);

// The unit's start-up and shut-down (the wizard library's): the registries.
void StartDialogManagerUnit();
void StopDialogManagerUnit();

}  // namespace setup
