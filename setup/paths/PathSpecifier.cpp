#include "PathSpecifier.h"

#include <algorithm>

#include "ContainerDestDir.h"
#include "EngineSpecifiers.h"
#include "MetaVariables.h"
#include "StandardSpecifiers.h"
#include "core/ClassDef.h"
#include "objects/ObjectsStartup.h"

namespace setup {

namespace {

TPathSpecifierList* gPathSpecifiers = nullptr;
TStandardPathSpecList* gStandardPathSpecifiers = nullptr;
TPathSpecifierClassList* gPathSpecifierClasses = nullptr;

}  // namespace

void StartPathSpecifierUnit() {
  gPathSpecifiers = new TPathSpecifierList();
  gStandardPathSpecifiers = new TStandardPathSpecList();
  gPathSpecifierClasses = new TPathSpecifierClassList();
  // The shell-folder and office specifiers of later units follow these, in this order.
  for (const fw::TClass* cls :
       {&TpsBDEDLL::StaticClass(), &TpsCommonFiles::StaticClass(), &TpsContainerArchiveFile::StaticClass(),
        &TpsContainerDestDir::StaticClass(), &TpsDesktopMenu::StaticClass(), &TpsInstallSource::StaticClass(),
        &TpsMainInstall::StaticClass(), &TpsProgramFiles::StaticClass(), &TpsProgramMenu::StaticClass(),
        &TpsStartMenu::StaticClass(), &TpsStartupMenu::StaticClass(), &TpsSystem::StaticClass(),
        &TpsMainArchiveFile::StaticClass(), &TpsWindow::StaticClass()}) {
    gPathSpecifierClasses->Add(cls);
    fw::RegisterClass(*cls);
  }
  fw::RegisterClass(TPathSpecifier::StaticClass());
}

void StopPathSpecifierUnit() {
  delete gPathSpecifierClasses;
  gPathSpecifierClasses = nullptr;
  delete gStandardPathSpecifiers;
  gStandardPathSpecifiers = nullptr;
  delete gPathSpecifiers;
  gPathSpecifiers = nullptr;
}

TPathSpecifierList* PathSpecifiers() {
  return gPathSpecifiers;
}
TStandardPathSpecList* StandardPathSpecifiers() {
  return gStandardPathSpecifiers;
}
TPathSpecifierClassList* PathSpecifierClasses() {
  return gPathSpecifierClasses;
}

// --- TCustomPathSpecifier ----------------------------------------------------

const fw::TClass& TCustomPathSpecifier::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomPathSpecifier>();
  return cls;
}

TCustomPathSpecifier::TCustomPathSpecifier(fw::TComponent* AOwner) : fw::TComponent(AOwner) {
  if (gPathSpecifiers != nullptr) gPathSpecifiers->Add(this);
}

TCustomPathSpecifier::~TCustomPathSpecifier() {
  if (gPathSpecifiers != nullptr) gPathSpecifiers->Remove(this);
}

std::string TCustomPathSpecifier::GetPath(fw::TComponent* Obj) {
  std::string path;
  if (FOnGetPath) FOnGetPath(Obj, path);
  return path;
}

// --- TPathSpecifier -----------------------------------------------------------

const fw::TClass& TPathSpecifier::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TPathSpecifier>()
          .Creatable()
          .String("Description", &TPathSpecifier::Description, &TPathSpecifier::SetDescription)
          .Event("OnGetPath", static_cast<TGetPathEvent TPathSpecifier::*>(&TPathSpecifier::FOnGetPath));
  return cls;
}

TPathSpecifier::TPathSpecifier(fw::TComponent* AOwner) : TCustomPathSpecifier(AOwner) {}

std::string TPathSpecifier::ExpandPathVariable(const std::string& Text, const std::string& Path) {
  return ExpandPathText(Text, Path);
}

// --- TStandardPathSpecifier --------------------------------------------------

const fw::TClass& TStandardPathSpecifier::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TStandardPathSpecifier>();
  return cls;
}

TStandardPathSpecifier::TStandardPathSpecifier(fw::TComponent* AOwner) : TCustomPathSpecifier(AOwner) {
  if (gStandardPathSpecifiers != nullptr) gStandardPathSpecifiers->Add(this);
}

TStandardPathSpecifier::~TStandardPathSpecifier() {
  if (gStandardPathSpecifiers != nullptr) gStandardPathSpecifiers->Remove(this);
}

// --- lists -------------------------------------------------------------------

void TPathSpecifierList::Add(TCustomPathSpecifier* Item) {
  if (Item == nullptr) throw IEPathSpecifierList("Tried to add a nil object to the path specifier list");
  FItems.push_back(Item);
}

void TPathSpecifierList::Remove(TCustomPathSpecifier* Item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
}

TCustomPathSpecifier* TPathSpecifierList::Find(const fw::TClass& Class) const {
  for (TCustomPathSpecifier* item : FItems)
    if (item->InheritsFrom(Class)) return item;
  return nullptr;
}

TCustomPathSpecifier* TPathSpecifierList::FindByClass(const fw::TClass& Class) const {
  TCustomPathSpecifier* found = Find(Class);
  if (found == nullptr) throw IEPathSpecifier("Could not find the path specifier");
  return found;
}

void TPathSpecifierList::CreateStandardSpecifiers(fw::TComponent* Owner, bool SkipExisting) {
  if (Owner == nullptr || gPathSpecifierClasses == nullptr) return;
  for (int i = 0; i < gPathSpecifierClasses->Count(); ++i)
    CreateStandardSpecifier(*gPathSpecifierClasses->GetItem(i), Owner, SkipExisting);
}

void TPathSpecifierClassList::Add(const fw::TClass* Class) {
  if (Class == nullptr) throw IEPathSpecifierClassList("Tried to add a nil object to the path specifier list");
  if (std::find(FItems.begin(), FItems.end(), Class) == FItems.end()) FItems.push_back(Class);
}

void CreateStandardSpecifier(const fw::TClass& Class, fw::TComponent* Owner, bool SkipExisting) {
  if (SkipExisting && gPathSpecifiers != nullptr && gPathSpecifiers->Find(Class) != nullptr) return;
  fw::TComponent* made = Class.CreateComponent(Owner);
  auto* specifier = dynamic_cast<TCustomPathSpecifier*>(made);
  if (specifier == nullptr) return;
  try {
    specifier->SetName(specifier->DefaultName());
  } catch (...) {
    made->Free();
    throw;
  }
}

}  // namespace setup
