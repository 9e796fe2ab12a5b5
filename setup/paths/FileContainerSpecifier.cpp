#include "FileContainerSpecifier.h"

#include "core/ClassDef.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "support/UniqueName.h"

namespace setup {

namespace {

constexpr char kBaseName[] = "psFileContainer";
constexpr char kUnknownContainer[] = "Path specifier for unknown file container";

// The numbers given to components that had to yield their name, for the program's run.
int NextNameClashNumber() {
  static int counter = 0;
  return ++counter;
}

}  // namespace

const fw::TClass& TpsFileContainer::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TpsFileContainer>().Creatable().Component(
      "FileContainer", &TpsFileContainer::FileContainer, &TpsFileContainer::SetFileContainer);
  return cls;
}

TpsFileContainer::TpsFileContainer(fw::TComponent* AOwner) : TCustomPathSpecifier(AOwner) {}

TpsFileContainer::~TpsFileContainer() {
  if (FFileContainer != nullptr) FFileContainer->ForgetPathSpecifier(this);
}

TpsFileContainer* TpsFileContainer::CreateForContainer(fw::TComponent* AOwner, TFileContainer* Container) {
  auto* specifier = new TpsFileContainer(AOwner);
  specifier->SetFileContainer(Container);
  specifier->FNamedByContainer = true;
  try {
    std::string name = kBaseName;
    for (int n = 1; AOwner != nullptr && AOwner->FindComponent(name) != nullptr; ++n)
      name = kBaseName + std::to_string(n);
    specifier->SetName(name);
  } catch (...) {
    specifier->FNamedByContainer = false;
    specifier->Free();
    throw;
  }
  specifier->FNamedByContainer = false;
  return specifier;
}

void TpsFileContainer::SetFileContainer(TFileContainer* Value) {
  if (FFileContainer == Value) return;
  if (FFileContainer != nullptr) FFileContainer->ForgetPathSpecifier(this);
  FFileContainer = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TpsFileContainer::ValidateObject(fw::TComponent* Obj) {
  if (dynamic_cast<TFileContainer*>(Obj) != nullptr || dynamic_cast<TCustomInstallFile*>(Obj) != nullptr)
    throw IEPathSpecifier("A file container cannot reference another file container or group");
}

std::string TpsFileContainer::GetDescription() const {
  if (FFileContainer == nullptr) return kUnknownContainer;
  return "Path into which " + FFileContainer->Description() + " will be installed";
}

std::string TpsFileContainer::GetCaption() const {
  if (FFileContainer == nullptr) return kUnknownContainer;
  return "<" + FFileContainer->Description() + ">";
}

std::string TpsFileContainer::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  return FFileContainer != nullptr ? FFileContainer->GetFullDestDir() : std::string();
}

void TpsFileContainer::SetName(const std::string& NewName) {
  if (FNamedByContainer) {
    TCustomPathSpecifier::SetName(NewName);
    return;
  }
  try {
    TCustomPathSpecifier::SetName(NewName);
  } catch (const fw::Exception&) {
    fw::TComponent* other = Owner() != nullptr ? Owner()->FindComponent(NewName) : nullptr;
    if (other == nullptr || other == this) return;
    SetUniqueComponentName(other, "nameClash" + std::to_string(NextNameClashNumber()));
    TCustomPathSpecifier::SetName(NewName);
  }
}

void TpsFileContainer::Loaded() {
  TCustomPathSpecifier::Loaded();
  if (FFileContainer != nullptr && FFileContainer->PathSpecifier() != this) FFileContainer->AdoptPathSpecifier(this);
}

void TpsFileContainer::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TCustomPathSpecifier::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent != nullptr && AComponent == FFileContainer) FFileContainer = nullptr;
}

}  // namespace setup
