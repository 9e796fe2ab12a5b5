#include "InstallContainer.h"

#include <algorithm>
#include <memory>

#include "Broadcasts.h"
#include "InstallEngine.h"
#include "InstallLists.h"
#include "StatusParameters.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "paths/ContainerDestDir.h"
#include "support/PathStrings.h"

namespace setup {

bool IsDesignTime(const fw::TComponent* Component) {
  return Component != nullptr && Component->ComponentState().Contains(fw::csDesigning);
}

namespace {

// The container-folder specifier among the standard ones, or nil.
TCustomPathSpecifier* StandardContainerDestDir() {
  TStandardPathSpecList* list = StandardPathSpecifiers();
  return list != nullptr ? list->Find(TpsContainerDestDir::StaticClass()) : nullptr;
}

}  // namespace

// --- TInstallContainer -------------------------------------------------------

const fw::TClass& TInstallContainer::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TInstallContainer>();
  return cls;
}

OSSet TInstallContainer::DefaultOS() {
  if (GetOSVersion() == osLinux) return OSSet{osLinux};
  return OSSet{oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP};
}

TInstallContainer::TInstallContainer(fw::TComponent* AOwner, int ARegisteredType)
    : fw::TComponent(AOwner), FRegisteredType(ARegisteredType), FOS(DefaultOS()) {
  // The first installable object on a form brings the standard specifiers with it.
  if (dynamic_cast<fw::TCustomForm*>(AOwner) != nullptr && PathSpecifiers() != nullptr)
    PathSpecifiers()->CreateStandardSpecifiers(AOwner, true);
  if (AllInstallObjects() != nullptr) AllInstallObjects()->Add(this);
}

TInstallContainer::~TInstallContainer() {
  if (TInstallContainerList* all = AllInstallObjects()) {
    // Every other object drops its references to this one, last registered first.
    for (int i = all->Count(); i-- > 0;) {
      if (i >= all->Count()) continue;
      TInstallContainer* other = all->GetItem(i);
      if (other != this) other->RemoveReference(this);
    }
    all->Remove(this);
  }
}

void TInstallContainer::SetInstallTypes(TInstallTypeSet Value) {
  FInstallTypes = Value.Empty() ? TInstallTypeSet{itFull} : Value;
}

TInstallContainer* TInstallContainer::GetHelper(int Index) const {
  if (Index < 0 || Index >= GetHelperCount())
    throw IEInstallContainer(
        "Tried to reference a helper component in the following component: %s. The following index was used: %d",
        Name(), Index);
  return FHelpers[static_cast<size_t>(Index)];
}

namespace {
[[noreturn]] void ThrowBadComp(int Index, long long ComponentType) {
  throw IEInstallContainer(
      "Bad call to the Comp procedure which returns a TInstallObject for a TInstallContainer component. The "
      "parameters are probably reversed. Index: %d, ComponentType: %d",
      Index, ComponentType);
}
}  // namespace

TInstallContainer* TInstallContainer::Comp(int Index, const fw::TClass& ClassType) const {
  int seen = 0;
  for (TInstallContainer* helper : FHelpers)
    if (helper->InheritsFrom(ClassType) && seen++ == Index) return helper;
  ThrowBadComp(Index, static_cast<long long>(reinterpret_cast<intptr_t>(&ClassType)));
}

int TInstallContainer::CompCount(const fw::TClass& ClassType) const {
  return static_cast<int>(std::count_if(FHelpers.begin(), FHelpers.end(),
                                        [&](const TInstallContainer* h) { return h->InheritsFrom(ClassType); }));
}

void TInstallContainer::FreeHelpersOfClass(const fw::TClass& ClassType) {
  for (int i = GetHelperCount(); i-- > 0;) {
    if (i >= GetHelperCount()) continue;
    TInstallContainer* helper = FHelpers[static_cast<size_t>(i)];
    if (helper->InheritsFrom(ClassType)) helper->Free();  // its destructor takes it out of the list
  }
}

void TInstallContainer::BroadcastInformation(fw::TObject* Sender, int Code, fw::TObject* PO) {
  // A receiver may change the list; the index is checked against it each time.
  for (size_t i = 0; i < FHelpers.size(); ++i) {
    TInstallContainer* helper = FHelpers[i];
    if (helper->RegisteredType() >= kBroadcastMinimumCategory) helper->InformationEvent(Sender, Code, PO);
  }
}

void TInstallContainer::ShowStatusMessage(const std::string& Text) {
  TMessageParameter parameter(Text);
  Broadcast<icShowStatus>(*this, parameter);
}

void TInstallContainer::HideStatusMessage() {
  BroadcastInformation(this, icHideStatus, nullptr);
}

void TInstallContainer::SetSelectedInstallType(TInstallType Type) {
  FSelectedInstallType = Type;
  for (size_t i = 0; i < FHelpers.size(); ++i) FHelpers[i]->SetSelectedInstallType(Type);
}

int TInstallContainer::GetFileContainerCount() const {
  return static_cast<int>(
      std::count_if(FHelpers.begin(), FHelpers.end(), [](const TInstallContainer* h) { return h->IsFileContainer(); }));
}

TInstallContainer* TInstallContainer::GetFileContainer(int Index) const {
  int seen = 0;
  for (TInstallContainer* helper : FHelpers)
    if (helper->IsFileContainer() && seen++ == Index) return helper;
  ThrowBadComp(Index, 0);
}

void TInstallContainer::SetDestDir(const std::string& Value) {
  FDestDir = Value;
}

void TInstallContainer::SetDestDirType(TCustomPathSpecifier* Value) {
  FDestDirTypeAssigned = true;
  if (Value != nullptr && !IsLoading()) Value->ValidateObject(this);
  StoreDestDirType(Value);
}

void TInstallContainer::StoreDestDirType(TCustomPathSpecifier* Value) {
  FDestDirType = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TInstallContainer::DefaultDestDirType(TCustomPathSpecifier* Value) {
  StoreDestDirType(Value);
  FDestDirTypeDefaulted = true;
}

void TInstallContainer::RemoveReference(TInstallContainer* Obj) {
  if (std::find(FHelpers.begin(), FHelpers.end(), Obj) != FHelpers.end()) RemoveHelperComponent(Obj);
}

std::string TInstallContainer::GetFullDestDir() const {
  std::string path =
      FDestDirType != nullptr ? FDestDirType->GetPath(const_cast<TInstallContainer*>(this)) + FDestDir : FDestDir;
  return RemoveTrailingBackslash(path);
}

int TInstallContainer::RegisteredType() const {
  if (FRegisteredType == 0) throw IEInstallContainer("Class must declare a registered type");
  return FRegisteredType;
}

void TInstallContainer::AddHelperComponent(TInstallContainer* Obj) {
  if (Obj == nullptr) throw IEInstallContainer("Cannot add a blank base helper component to %s", Name());
  // Obj may be neither this object nor any object above it.
  for (const TInstallContainer* link = this; link != nullptr;) {
    if (link == Obj) throw IEInstallContainer("Circular reference");
    auto* object = dynamic_cast<const TInstallObject*>(link);
    link = object != nullptr ? object->Container() : nullptr;
  }
  if (std::find(FHelpers.begin(), FHelpers.end(), Obj) != FHelpers.end()) return;
  int category = Obj->RegisteredType();
  auto position = std::find_if(FHelpers.begin(), FHelpers.end(),
                               [&](const TInstallContainer* h) { return h->RegisteredType() >= category; });
  if (fw::SameText(Obj->ClassName(), "TINSTALLBDE")) position = FHelpers.begin();
  FHelpers.insert(position, Obj);
}

void TInstallContainer::RemoveHelperComponent(TInstallContainer* Obj) {
  if (Obj == nullptr) return;
  FHelpers.erase(std::remove(FHelpers.begin(), FHelpers.end(), Obj), FHelpers.end());
}

bool TInstallContainer::IsSelected() const {
  return FInclude && (FSelectedInstallType == itCustom || FInstallTypes.Contains(FSelectedInstallType));
}

void TInstallContainer::Process() {
  if (!FOS.Contains(GetOSVersion())) FInclude = false;
  try {
    if (OnBeforeProcess) OnBeforeProcess(this);
    BroadcastInformation(this, icBeforeProcess, nullptr);
    if (!FInclude) return;
    BroadcastInformation(this, icIncluded, nullptr);
    if (FSelectedInstallType != itCustom && !FInstallTypes.Contains(FSelectedInstallType)) return;
    // The uninstall key is settled first: nothing is installed that could not be logged.
    bool logged = GlobalInstall() != nullptr && FUninstall;
    std::string uninstallKey = logged ? ProductUninstallKey() : std::string();
    Install();
    FDone = true;
    if (logged) WriteUninstallInfo(uninstallKey);
    if (OnAfterProcess) OnAfterProcess(this);
    BroadcastInformation(this, icAfterProcess, nullptr);
  } catch (const fw::EAbort&) {
    // An event handler or the install step skipped this object.
  }
}

void TInstallContainer::Install() {
  FDone = true;
  for (size_t i = 0; i < FHelpers.size(); ++i)
    if (FHelpers[i]->InstalledByContainer()) FHelpers[i]->Process();
}

void TInstallContainer::Loaded() {
  fw::TComponent::Loaded();
  if (FDestDirTypeDefaulted && !FDestDirTypeAssigned) SetDestDirType(nullptr);
  FDestDirTypeDefaulted = false;
}

void TInstallContainer::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  fw::TComponent::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent != nullptr && AComponent == FDestDirType) FDestDirType = nullptr;
}

// --- TInstallObject ----------------------------------------------------------

const fw::TClass& TInstallObject::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TInstallObject>();
  return cls;
}

TInstallObject::TInstallObject(fw::TComponent* AOwner, int ARegisteredType)
    : TInstallContainer(AOwner, ARegisteredType) {
  TInstallEngine* engine = GlobalInstall();
  if (IsDesignTime(this) && engine != nullptr) {
    TInstallContainer& root = engine->EngineContainer();
    root.AddHelperComponent(this);
    FContainer = &root;
    FContainerDefaulted = true;
    DefaultDestDirType(StandardContainerDestDir());
    SetDestDir(std::string());
  }
}

void TInstallObject::SetContainer(TInstallContainer* Value) {
  FContainerAssigned = true;
  if (Value == FContainer) return;
  if (Value != nullptr) Value->AddHelperComponent(this);
  if (FContainer != nullptr) FContainer->RemoveHelperComponent(this);
  FContainer = Value;
  if (IsLoading()) return;
  if (Value != nullptr) {
    if (TCustomPathSpecifier* specifier = StandardContainerDestDir()) {
      SetDestDirType(specifier);
      SetDestDir(std::string());
    }
  } else if (dynamic_cast<TpsContainerDestDir*>(DestDirType()) != nullptr) {
    SetDestDirType(nullptr);
  }
}

void TInstallObject::ReportInformation(int Code, fw::TObject* PO) {
  if (FContainer != nullptr) FContainer->DoInformationEventControl(this, Code, PO);
}

void TInstallObject::RemoveReference(TInstallContainer* Obj) {
  TInstallContainer::RemoveReference(Obj);
  if (FContainer == Obj) FContainer = nullptr;
}

void TInstallObject::Process() {
  if (IsInstallRunning() && FContainer != nullptr && !FContainer->Done()) return;
  TInstallContainer::Process();
}

void TInstallObject::Loaded() {
  TInstallContainer::Loaded();
  if (FContainerDefaulted && !FContainerAssigned) SetContainer(nullptr);
  FContainerDefaulted = false;
}

}  // namespace setup
