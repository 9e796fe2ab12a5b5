// The installer's form bases: a wizard page (TBaseInstallForm), a progress window
// (TBaseDuringCopyForm) and a change-disk form (TBaseChangeDiskForm). Each belongs to a
// dialog manager (DM), which its constructor finds by the manager type it serves.
#pragma once

#include "objects/BaseQuenlarkForm.h"

namespace fw {
class TPicture;
class TWinControl;
}  // namespace fw

namespace setup {

class TDialogManager;
class TCustomBaseInstallDlg;
class TBaseFormContainer;
class TFileStatusParameter;
class TDownloadStatusParameter;
class TDiskParameter;

// The modal result that means "cancelled by the user".
constexpr int kCancelledResult = 3;

// Asks the engine whether to cancel the installation (yes without an engine).
bool QueryUserAbort();

class TBaseInstallForm : public TBaseQuenlarkForm {
  FW_CLASS(TBaseInstallForm, TBaseQuenlarkForm)
 public:
  explicit TBaseInstallForm(fw::TComponent* AOwner);

  TDialogManager* DM() const { return FDM; }
  void SetDM(TDialogManager* Value) { FDM = Value; }
  // The dialog component that lends the page its settings; nil for none.
  TCustomBaseInstallDlg* DC() const { return FDC; }
  void SetDC(TCustomBaseInstallDlg* Value);
  int Order() const { return FOrder; }
  void SetOrder(int Value) { FOrder = Value; }
  // The wizard host that owns the page; nil outside one.
  TBaseFormContainer* FormContainer() const;

  // Whether no page before this one is shown (False outside a host).
  virtual bool IsFirstPage();
  // Whether this is the host's last page (False outside a host).
  virtual bool IsLastPage();
  // Runs whenever the page stops being the current one.
  virtual void LeavePage() {}
  // Ends the wizard as cancelled, without a question.
  virtual void Cancel();
  virtual void GoNext();
  virtual void GoBack();
  // Refreshes the controls (UpdateControls) and brings the page to the front.
  virtual void EnterPage();
  virtual bool SkipPage() { return false; }
  // Asks the engine's cancel question; on yes, Cancel.
  virtual void ConfirmCancel();

  // The engine's picture for the pages into Picture (nothing without one).
  static void LoadThemeBitmap(fw::TPicture& Picture);
  // Gives the focus to Control when it and the page are visible.
  void FocusWhenShown(fw::TWinControl* Control);
  void Loaded() override;

 protected:
  // Owned by a form, the page is a borderless child window of that form.
  void CreateParams(TCreateParams& Params) override;
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  TDialogManager* FDM = nullptr;
  TCustomBaseInstallDlg* FDC = nullptr;
  int FOrder = 0;
};

class TBaseDuringCopyForm : public TBaseQuenlarkForm {
  FW_CLASS(TBaseDuringCopyForm, TBaseQuenlarkForm)
 public:
  explicit TBaseDuringCopyForm(fw::TComponent* AOwner);
  TDialogManager* DM() const { return FDM; }
  void SetDM(TDialogManager* Value) { FDM = Value; }

  // Asks the engine's cancel question; on yes the shared archive's abort flag and the
  // downloads' abort flag are set. Either way the form's result
  // becomes the cancel result (which does not close a window shown modelessly).
  virtual void Cancel();
  // Shows one progress report: file status or download status (one of them is nil).
  virtual void UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) {}

 private:
  TDialogManager* FDM = nullptr;
};

// A form that asks for the next disk of the installation.
class TBaseChangeDiskForm : public TBaseQuenlarkForm {
  FW_CLASS(TBaseChangeDiskForm, TBaseQuenlarkForm)
 public:
  explicit TBaseChangeDiskForm(fw::TComponent* AOwner);
  TDialogManager* DM() const { return FDM; }
  void SetDM(TDialogManager* Value) { FDM = Value; }
  // The disk asked for; the form writes the folder of the answer into its Path.
  virtual void SetDiskParameter(TDiskParameter* Value) { FDisk = Value; }
  TDiskParameter* DiskParameter() const { return FDisk; }

 private:
  TDialogManager* FDM = nullptr;
  TDiskParameter* FDisk = nullptr;
};

}  // namespace setup
