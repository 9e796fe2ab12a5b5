#include "BaseInstallForm.h"

#include "BaseFormContainer.h"
#include "BaseInstallDlg.h"
#include "DialogManager.h"
#include "archive/QnlkCompress.h"
#include "core/ClassDef.h"
#include "objects/InstallEngine.h"
#include "objects/InstallLists.h"
#include "support/NetInstallLocation.h"

namespace setup {

bool QueryUserAbort() {
  TInstallEngine* engine = GlobalInstall();
  return engine == nullptr || engine->EngineQueryUserAbort();
}

// --- TBaseInstallForm ----------------------------------------------------------------

const fw::TClass& TBaseInstallForm::StaticClass() {
  using T = TBaseInstallForm;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Component("DC", &T::DC, &T::SetDC)
                                    .Component("DM", &T::DM, &T::SetDM)
                                    .Integer("Order", &T::Order, &T::SetOrder);
  return cls;
}

TBaseInstallForm::TBaseInstallForm(fw::TComponent* AOwner) : TBaseQuenlarkForm(AOwner) {}

void TBaseInstallForm::SetDC(TCustomBaseInstallDlg* Value) {
  if (Value == FDC) return;
  if (FDC != nullptr) FDC->RemoveFreeNotification(this);
  FDC = Value;
  if (FDC != nullptr) FDC->FreeNotification(this);
}

void TBaseInstallForm::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TBaseQuenlarkForm::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent == FDC) FDC = nullptr;
}

TBaseFormContainer* TBaseInstallForm::FormContainer() const {
  return dynamic_cast<TBaseFormContainer*>(Owner());
}

bool TBaseInstallForm::IsFirstPage() {
  TBaseFormContainer* container = FormContainer();
  return container != nullptr && container->IsFirstPage();
}

bool TBaseInstallForm::IsLastPage() {
  TBaseFormContainer* container = FormContainer();
  return container != nullptr && container->IsLastPage();
}

void TBaseInstallForm::Cancel() {
  if (TBaseFormContainer* container = FormContainer())
    container->SetModalResult(kCancelledResult);
  else
    SetModalResult(kCancelledResult);
}

void TBaseInstallForm::GoNext() {
  if (TBaseFormContainer* container = FormContainer()) container->NextPage();
}

void TBaseInstallForm::GoBack() {
  if (TBaseFormContainer* container = FormContainer()) container->PreviousPage();
}

void TBaseInstallForm::EnterPage() {
  UpdateControls();
  if (dynamic_cast<fw::TCustomForm*>(Owner()) != nullptr && HandleAllocated())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TBaseInstallForm::ConfirmCancel() {
  if (QueryUserAbort()) Cancel();
}

void TBaseInstallForm::LoadThemeBitmap(fw::TPicture& Picture) {
  TInstallEngine* engine = GlobalInstall();
  fw::TPicture* theme = engine != nullptr ? engine->EngineDialogThemeBitmap() : nullptr;
  if (theme != nullptr) Picture.Assign(theme);
}

void TBaseInstallForm::FocusWhenShown(fw::TWinControl* Control) {
  if (Control == nullptr || !Control->Visible() || !Visible() || !HandleAllocated()) return;
  if (IsWindowVisible(Handle())) SetFocus(Control->Handle());
}

void TBaseInstallForm::CreateParams(TCreateParams& Params) {
  TBaseQuenlarkForm::CreateParams(Params);
  auto* owner = dynamic_cast<fw::TCustomForm*>(Owner());
  if (owner == nullptr) return;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_CONTROLPARENT;
  Params.WndParent = owner->Handle();
  Params.X = 0;
  Params.Y = 0;
}

void TBaseInstallForm::Loaded() {
  TBaseQuenlarkForm::Loaded();
  auto* owner = dynamic_cast<fw::TCustomForm*>(Owner());
  if (owner == nullptr) return;
  SetVisible(false);
  SetBorderStyle(fw::bsNone);
  SetBounds(0, 0, owner->ClientWidth(), owner->Height());
}

// --- TBaseDuringCopyForm -------------------------------------------------------------

const fw::TClass& TBaseDuringCopyForm::StaticClass() {
  using T = TBaseDuringCopyForm;
  static const fw::TClass cls = fw::TClassDef<T>().Component("DM", &T::DM, &T::SetDM);
  return cls;
}

TBaseDuringCopyForm::TBaseDuringCopyForm(fw::TComponent* AOwner) : TBaseQuenlarkForm(AOwner) {}

void TBaseDuringCopyForm::Cancel() {
  if (QueryUserAbort()) {
    if (TQnlkCompress* archive = SharedArchive()) archive->SetAbort(true);
    SetNetDownloadAbort(true);
  }
  SetModalResult(kCancelledResult);
}

// --- TBaseChangeDiskForm -------------------------------------------------------------

const fw::TClass& TBaseChangeDiskForm::StaticClass() {
  using T = TBaseChangeDiskForm;
  static const fw::TClass cls = fw::TClassDef<T>().Component("DM", &T::DM, &T::SetDM);
  return cls;
}

TBaseChangeDiskForm::TBaseChangeDiskForm(fw::TComponent* AOwner) : TBaseQuenlarkForm(AOwner) {}

}  // namespace setup
