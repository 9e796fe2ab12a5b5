#include "Classes.h"

#include <algorithm>

#include "ClassDef.h"

namespace fw {

const TClass& TObject::StaticClass() {
  static const TClass cls("TObject", nullptr);
  return cls;
}

// --- TPersistent -----------------------------------------------------------

const TClass& TPersistent::StaticClass() {
  static const TClass cls = TClassDef<TPersistent>();
  return cls;
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source != nullptr) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError(Format("Cannot assign a nil to a %s", ClassName().c_str()));
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  throw EConvertError(Format("Cannot assign a %s to a %s", ClassName().c_str(), Dest->ClassName().c_str()));
}

// --- TComponent ------------------------------------------------------------

const TClass& TComponent::StaticClass() {
  static const TClass cls = TClassDef<TComponent>()
                                .String("Name", &TComponent::Name, &TComponent::SetName)
                                .Integer("Tag", &TComponent::Tag, &TComponent::SetTag);
  return cls;
}

void CheckComponentName(const std::string& Name) {
  if (!Name.empty() && !IsValidIdent(Name))
    throw EComponentError(Format("'%s' is not a valid component name", Name.c_str()));
}

namespace {
// Set by CreateComponentForLoading; taken by the first component constructor that runs.
thread_local bool gCreatingForLoad = false;
}  // namespace

TComponent* CreateComponentForLoading(const TClass& Class, TComponent* Owner) {
  gCreatingForLoad = true;
  try {
    TComponent* made = Class.CreateComponent(Owner);
    gCreatingForLoad = false;
    return made;
  } catch (...) {
    gCreatingForLoad = false;
    throw;
  }
}

TComponent::TComponent(TComponent* AOwner) {
  if (gCreatingForLoad) {
    gCreatingForLoad = false;
    BeginLoading();
  }
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Everyone who asked to hear of our end hears of it; they drop their references.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& theirs = other->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::SetName(const std::string& NewName) {
  if (FName == NewName) return;
  CheckComponentName(NewName);
  if (FOwner != nullptr)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName) {
  if (AComponent == nullptr || NewName.empty() || SameText(CurName, NewName)) return;
  TComponent* existing = FindComponent(NewName);
  if (existing != nullptr && existing != AComponent)
    throw EComponentError(Format("A component named %s already exists", NewName.c_str()));
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  // Refused before anything changes: a clashing name leaves the component with its old owner.
  ValidateRename(AComponent, std::string(), AComponent->FName);
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it == FComponents.end()) return;
  Notification(AComponent, opRemove);
  it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Last created first; each one's destructor takes it out of our list.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    c->Free();
    if (!FComponents.empty() && FComponents.back() == c) FComponents.pop_back();
  }
}

void TComponent::Free() {
  BeforeDestruction();
  delete this;
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  FComponentState.Include(csFreeNotification);
  // Components of one owner hear of each other through the owner anyway.
  if (FOwner != nullptr && AComponent->FOwner == FOwner) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FFreeNotifies.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveNotification(AComponent);
  // Every component we own hears of it too; a handler may free components, so the
  // index is checked against the shrinking list.
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i < FComponents.size()) FComponents[i]->Notification(AComponent, Operation);
  }
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  FComponentState.Include(csReading);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

}  // namespace fw
