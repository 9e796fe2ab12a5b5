#include "DialogManager.h"

#include <algorithm>

#include "BaseFormContainer.h"
#include "BaseInstallDlg.h"
#include "BaseInstallForm.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "objects/Broadcasts.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "support/Errors.h"
#include "support/UniqueName.h"

namespace setup {

namespace {

struct TFormRegistries {
  std::vector<TFormEntry> Pages;
  std::vector<TFormEntry> CopyForms;
  std::vector<TFormEntry> ChangeDiskForms;
  std::vector<TFormEntry> UserInterfaceForms;
};
TFormRegistries* gRegistries = nullptr;
TDialogManager* gCurrentManager = nullptr;

TFormRegistries& Registries() {
  if (gRegistries == nullptr) throw fw::EComponentError("The wizard library has not started");
  return *gRegistries;
}

const TFormEntry& Register(std::vector<TFormEntry>& List, const fw::TClass& FormClass, TCustomBaseInstallDlg* Dialog,
                           int Extra) {
  List.push_back({&FormClass, Dialog, Extra});
  return List.back();
}

// Sets the current manager for as long as it lives, also when leaving by an exception.
class TCurrentManagerScope {
 public:
  explicit TCurrentManagerScope(TDialogManager* Manager) { gCurrentManager = Manager; }
  ~TCurrentManagerScope() { gCurrentManager = nullptr; }
  TCurrentManagerScope(const TCurrentManagerScope&) = delete;
  TCurrentManagerScope& operator=(const TCurrentManagerScope&) = delete;
};

// Frees a form when it goes out of scope.
template <class T>
class TFormOwner {
 public:
  explicit TFormOwner(T* Form) : FForm(Form) {}
  ~TFormOwner() {
    if (FForm != nullptr) FForm->Free();
  }
  TFormOwner(const TFormOwner&) = delete;
  TFormOwner& operator=(const TFormOwner&) = delete;
  T* operator->() const { return FForm; }
  T* Get() const { return FForm; }

 private:
  T* FForm;
};

template <class P>
P* RequireParameter(const TDialogManager& Manager, fw::TObject* PO, const char* WrongClassFormat) {
  if (PO == nullptr) throw IException("%s got a nil PO parameter", Manager.Name());
  auto* parameter = dynamic_cast<P*>(PO);
  if (parameter == nullptr) throw IException(WrongClassFormat, Manager.Name());
  return parameter;
}

}  // namespace

const fw::TEnumInfo& ManagerTypeInfo() {
  static const fw::TEnumInfo info{"TManagerType",
                                  {"dmBeforeInstall", "dmAfterGoodInstall", "dmAfterBadInstall", "dmDuringCopyFiles",
                                   "dmChangeDisk", "dmReboot", "dmUninstall"}};
  return info;
}

const fw::TEnumInfo& DialogPositionInfo() {
  static const fw::TEnumInfo info{"TQuenlarkDialogPosition",
                                  {"qdpCenterLeft", "qdpCenter", "qdpCenterRight", "qdpBottomLeft", "qdpBottomCenter",
                                   "qdpBottomRight", "qdpTopLeft", "qdpTopCenter", "qdpTopRight"}};
  return info;
}

// --- TDialogManager ------------------------------------------------------------------

const fw::TClass& TDialogManager::StaticClass() {
  using T = TDialogManager;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Component("Container", &T::Container, &T::SetContainer)
                                    .Enum("ManagerType", ManagerTypeInfo(), &T::ManagerType, &T::SetManagerType)
                                    .Enum("Position", DialogPositionInfo(), &T::Position, &T::SetPosition)
                                    .Integer("RelativeLeftOffset", &T::RelativeLeftOffset, &T::SetRelativeLeftOffset)
                                    .Integer("RelativeTopOffset", &T::RelativeTopOffset, &T::SetRelativeTopOffset)
                                    .Integer("Width", &T::Width, &T::SetWidth)
                                    .Integer("Height", &T::Height, &T::SetHeight);
  return cls;
}

TDialogManager::TDialogManager(fw::TComponent* AOwner) : TInstallObject(AOwner, rtDialog) {}

TDialogManager::~TDialogManager() {
  for (TBaseDuringCopyForm* form : FDuringCopyForms) form->RemoveFreeNotification(this);
  for (TCustomBaseInstallDlg* dialog : std::vector<TCustomBaseInstallDlg*>(FDialogs)) dialog->RemoveReference(this);
  if (gCurrentManager == this) gCurrentManager = nullptr;
}

void TDialogManager::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation == fw::opRemove)
    FDuringCopyForms.erase(std::remove(FDuringCopyForms.begin(), FDuringCopyForms.end(), AComponent),
                           FDuringCopyForms.end());
}

void TDialogManager::AddDialog(TCustomBaseInstallDlg* Dialog) {
  if (Dialog == nullptr)
    throw fw::Exception(fw::Format(TranslateEnglishText("Cannot add a NIL Dialog to the Dialog Manager %s"), Name()));
  if (std::find(FDialogs.begin(), FDialogs.end(), Dialog) == FDialogs.end()) FDialogs.push_back(Dialog);
}

void TDialogManager::RemoveDialog(TCustomBaseInstallDlg* Dialog) {
  FDialogs.erase(std::remove(FDialogs.begin(), FDialogs.end(), Dialog), FDialogs.end());
}

void TDialogManager::RemoveReference(TInstallContainer* Obj) {
  TInstallObject::RemoveReference(Obj);
  FDialogs.erase(std::remove(FDialogs.begin(), FDialogs.end(), Obj), FDialogs.end());
}

void TDialogManager::InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) {
  TInstallObject::InformationEvent(Sender, Code, PO);
  switch (FManagerType) {
    case dmBeforeInstall:
      if (Code == icRunBeforeInstall) Execute();
      break;
    case dmAfterGoodInstall:
      if (Code == icRunAfterGoodInstall) Execute();
      break;
    case dmAfterBadInstall:
      if (Code == icRunAfterBadInstall) Execute();
      break;
    case dmReboot:
      if (Code == icRunReboot) Execute();
      break;
    case dmDuringCopyFiles:
      if (Code == icFileStatus)
        NotifyDuringCopyForms(RequireParameter<TFileStatusParameter>(
                                  *this, PO, "The PO object passed to %s is not a TFileStatusParameter object"),
                              nullptr);
      else if (Code == icDownloadStatus)
        NotifyDuringCopyForms(nullptr,
                              RequireParameter<TDownloadStatusParameter>(
                                  *this, PO, "The PO object passed to %s is not a TDownloadStatusParameter object"));
      else if (Code == icOperationEnded)
        CloseDuringCopyForms();
      break;
    case dmChangeDisk:
      if (Code == icNewDisk) ShowChangeDisk(PO);
      break;
    case dmUninstall:
      break;
  }
}

void TDialogManager::Execute() {
  TCurrentManagerScope current(this);
  TFormOwner<TBaseFormContainer> container(
      static_cast<TBaseFormContainer*>(CreateRegisteredForm(TBaseFormContainer::StaticClass(), fw::Application)));
  container->SetPosition(fw::poDesigned);
  container->SetHeight(FHeight);
  container->SetWidth(FWidth);
  container->PlaceOnScreen(FPosition, FRelativeLeftOffset, FRelativeTopOffset);
  // A wizard whose pages are all skipped would show a window with no way out: it has
  // nothing to ask, so it ends as a success.
  if (container->CreatePages() == 0 || !container->HasPageToShow()) return;
  int result = container->ShowModal();
  container->RethrowPageError();
  if (result == kCancelledResult) throw EAIUserAbort();
  if (fw::Application->MainForm() != nullptr) fw::Application->MainForm()->Repaint();
  fw::Application->ProcessMessages();
}

void TDialogManager::ShowChangeDisk(fw::TObject* PO) {
  const std::vector<TFormEntry>* entries = ChangeDiskFormEntries();
  if (entries == nullptr || entries->empty()) return;
  TCurrentManagerScope current(this);
  TFormOwner<fw::TCustomForm> created(CreateRegisteredForm(*entries->front().FormClass, fw::Application));
  auto* form = dynamic_cast<TBaseChangeDiskForm*>(created.Get());
  if (form == nullptr || form->DM() != this) return;
  if (PO == nullptr)
    throw fw::Exception(
        TranslateEnglishText("The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form"));
  auto* list = dynamic_cast<TInformationList*>(PO);
  if (list == nullptr) throw fw::Exception(TranslateEnglishText("TChangeDiskDlg--PO is not a TList object"));
  if (list->Items.size() < 2)
    throw fw::Exception(TranslateEnglishText("TChangeDiskDlg--Not engouh parameters for status event"));
  auto* file = dynamic_cast<TCustomInstallFile*>(list->Items[0]);
  if (file == nullptr) throw fw::Exception("TChangeDiskDlg says bad first parameter");
  auto* disk = dynamic_cast<TDiskParameter*>(list->Items[1]);
  if (disk == nullptr) throw fw::Exception("TChangeDiskDlg says bad second parameter");
  file->SetTag(1);
  form->SetDiskParameter(disk);
  form->UpdateControls();
  form->TranslateForm();
  if (form->ShowModal() == kCancelledResult) throw EAIUserAbort();
}

void TDialogManager::CreateDuringCopyForms() {
  const std::vector<TFormEntry>* entries = DuringCopyFormEntries();
  if (entries == nullptr) return;
  for (const TFormEntry& entry : *entries) {
    fw::TCustomForm* created = CreateRegisteredForm(*entry.FormClass, nullptr);
    auto* form = dynamic_cast<TBaseDuringCopyForm*>(created);
    if (form == nullptr || form->DM() != this) {
      created->Free();
      continue;
    }
    try {
      if (entry.Dialog != nullptr) {
        entry.Dialog->SetForm(form);
        entry.Dialog->PlaceForm();
      }
      // The windows of earlier runs stay with the application: this one takes a free name.
      std::string name = form->Name();
      form->SetName(std::string());
      fw::Application->InsertComponent(form);
      SetUniqueComponentName(form, name);
      form->UpdateControls();
      form->TranslateForm();
      form->Show();
    } catch (...) {
      form->Free();
      throw;
    }
    form->FreeNotification(this);
    FDuringCopyForms.push_back(form);
  }
}

void TDialogManager::NotifyDuringCopyForms(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) {
  if (FDuringCopyForms.empty()) CreateDuringCopyForms();
  for (TBaseDuringCopyForm* form : std::vector<TBaseDuringCopyForm*>(FDuringCopyForms))
    form->UpdateStatus(FileStatus, DownloadStatus);
}

void TDialogManager::CloseDuringCopyForms() {
  std::vector<TBaseDuringCopyForm*> forms;
  forms.swap(FDuringCopyForms);
  for (TBaseDuringCopyForm* form : forms) {
    form->RemoveFreeNotification(this);
    form->Hide();
  }
}

// --- globals -------------------------------------------------------------------------

TDialogManager* CurrentDialogManager() {
  return gCurrentManager;
}

TDialogManager* FindDialogManager(TManagerType ManagerType) {
  TInstallEngine* engine = GlobalInstall();
  TInstallContainerList* objects = AllInstallObjects();
  if (engine == nullptr || objects == nullptr) return nullptr;
  TInstallContainer* install = &engine->EngineContainer();
  for (TInstallContainer* object : objects->Items()) {
    auto* manager = dynamic_cast<TDialogManager*>(object);
    if (manager != nullptr && manager->ManagerType() == ManagerType && manager->Container() == install) return manager;
  }
  return nullptr;
}

const TFormEntry& RegisterBaseInstallForm(const fw::TClass& FormClass, TCustomBaseInstallDlg* Dialog, int Extra) {
  return Register(Registries().Pages, FormClass, Dialog, Extra);
}

const TFormEntry& RegisterDuringCopyForm(const fw::TClass& FormClass, TCustomBaseInstallDlg* Dialog, int Extra) {
  return Register(Registries().CopyForms, FormClass, Dialog, Extra);
}

const TFormEntry& RegisterChangeDiskForm(const fw::TClass& FormClass, TCustomBaseInstallDlg* Dialog, int Extra) {
  return Register(Registries().ChangeDiskForms, FormClass, Dialog, Extra);
}

int BaseInstallFormCount() {
  return gRegistries != nullptr ? static_cast<int>(gRegistries->Pages.size()) : 0;
}

const TFormEntry& GetBaseInstallFormEntry(int Index) {
  if (gRegistries == nullptr) throw fw::Exception(TranslateEnglishText("The BIFList is NIL"));
  if (Index < 0 || Index >= static_cast<int>(gRegistries->Pages.size()))
    throw fw::Exception(fw::Format(TranslateEnglishText("%d is an invalid index in the BIFList"), Index));
  return gRegistries->Pages[static_cast<size_t>(Index)];
}

const std::vector<TFormEntry>* DuringCopyFormEntries() {
  return gRegistries != nullptr ? &gRegistries->CopyForms : nullptr;
}

const std::vector<TFormEntry>* ChangeDiskFormEntries() {
  return gRegistries != nullptr ? &gRegistries->ChangeDiskForms : nullptr;
}

std::vector<TFormEntry>* UserInterfaceFormEntries() {
  return gRegistries != nullptr ? &gRegistries->UserInterfaceForms : nullptr;
}

void ForgetDialogInEntries(const TCustomBaseInstallDlg* Dialog) {
  if (gRegistries == nullptr || Dialog == nullptr) return;
  for (auto* list :
       {&gRegistries->Pages, &gRegistries->CopyForms, &gRegistries->ChangeDiskForms, &gRegistries->UserInterfaceForms})
    for (TFormEntry& entry : *list)
      if (entry.Dialog == Dialog) entry.Dialog = nullptr;
}

fw::TCustomForm* CreateRegisteredForm(const fw::TClass& FormClass, fw::TComponent* Owner) {
  fw::TComponent* component = FormClass.CreateComponent(Owner);
  auto* form = dynamic_cast<fw::TCustomForm*>(component);
  if (form == nullptr) {
    if (component != nullptr) component->Free();
    throw fw::EComponentError(fw::Format("%s is not a form class", FormClass.ClassName()));
  }
  try {
    form->InitFromResource();
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

void StartDialogManagerUnit() {
  if (gRegistries == nullptr) gRegistries = new TFormRegistries;
}

void StopDialogManagerUnit() {
  delete gRegistries;
  gRegistries = nullptr;
  gCurrentManager = nullptr;
}

}  // namespace setup
