#include "InstallRegistry.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "InstallEngine.h"
#include "InstallRunJournal.h"
#include "core/ClassDef.h"
#include "objects/ObjectsStartup.h"
#include "paths/PathSpecifier.h"
#include "support/InstallInformation.h"
#include "support/PathStrings.h"
#include "support/RegistryObject.h"

// Windows names its window-class call like the framework's class registration.
#undef RegisterClass

namespace setup {

namespace {

TInstallRegistryList* gInstallRegistries = nullptr;

constexpr char kNoEngine[] = "There is no TInstall component in your project";

}  // namespace

void StartInstallRegistryUnit() {
  gInstallRegistries = new TInstallRegistryList();
  fw::RegisterClass(TInstallRegistry::StaticClass());
}

void StopInstallRegistryUnit() {
  delete gInstallRegistries;
  gInstallRegistries = nullptr;
}

TInstallRegistryList* InstallRegistries() {
  return gInstallRegistries;
}

void TInstallRegistryList::Add(TCustomInstallRegistry* Item) {
  if (Item == nullptr) throw IEInstallRegistryList("Cannot add blank entry to the registry list");
  FItems.push_back(Item);
}

void TInstallRegistryList::Remove(TCustomInstallRegistry* Item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
}

const fw::TEnumInfo& KeySpecifierInfo() {
  static const fw::TEnumInfo info{"TKeySpecifier", {"ksAbsolute", "ksCompanyName", "ksProductName", "ksVersion"}};
  return info;
}

// --- TCustomInstallRegistry ------------------------------------------------------

const fw::TClass& TCustomInstallRegistry::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomInstallRegistry>();
  return cls;
}

TCustomInstallRegistry::TCustomInstallRegistry(fw::TComponent* AOwner)
    : TInstallObject(AOwner, rtRegistry), FEntries(std::make_unique<TRegistryEntries>(this)) {
  if (TInstallRegistryList* list = InstallRegistries()) list->Add(this);
}

TCustomInstallRegistry::~TCustomInstallRegistry() {
  if (TInstallRegistryList* list = InstallRegistries()) list->Remove(this);
}

void TCustomInstallRegistry::SetKey(const std::string& Value) {
  FKey = FKeySpecifierType == ksAbsolute ? Value : std::string();
}

void TCustomInstallRegistry::SetKeySpecifierType(TKeySpecifier Value) {
  if (Value != ksAbsolute) {
    if (!IsLoading() && GlobalInstall() == nullptr) throw IEInstallRegistry(kNoEngine);
    FKey.clear();
    FRootKey = hkLocalMachine;
  }
  FKeySpecifierType = Value;
}

std::string TCustomInstallRegistry::GetKeyPath() const {
  if (FKeySpecifierType == ksAbsolute) return RemoveTrailingBackslash(FKey);
  if (GlobalInstall() == nullptr) throw IEInstallRegistry(kNoEngine);
  const TInstallInformation& info = GlobalInstall()->EngineInformation();
  std::string path = "\\SOFTWARE\\" + info.CompanyName();
  if (FKeySpecifierType == ksCompanyName) return path;
  path += "\\" + info.ProductName();
  if (FKeySpecifierType == ksProductName) return path;
  return path + "\\" + info.Version();
}

void TCustomInstallRegistry::OpenKey(TqnlkRegistry& Registry) const {
  SetRootKeyIndex(Registry, static_cast<int>(FRootKey));
  std::string key = GetKeyPath();
  if (TInstallRunJournal* journal = CurrentRunJournal()) journal->NoteRegistryKey(static_cast<int>(FRootKey), key);
  if (!Registry.OpenKey(key, true)) throw IERegistryEntry("%s cannot create the key %s in the registry", Name(), key);
}

namespace {

// A value's data as the uninstall log holds it: a number in decimal.
std::string LoggedData(const TRegistryEntry& Entry) {
  if (Entry.EntryType() == retInteger) return std::to_string(Entry.Integer());
  if (Entry.EntryType() == retBoolean) return Entry.Boolean() ? "1" : "0";
  return Entry.GetExpandedText();
}

}  // namespace

void TCustomInstallRegistry::WriteEntry(const TRegistryEntry& Entry) const {
  TqnlkRegistry registry;
  OpenKey(registry);
  TInstallRunJournal* journal = CurrentRunJournal();
  if (journal != nullptr) journal->NoteValueBefore(static_cast<int>(FRootKey), GetKeyPath(), Entry.Ident());
  switch (Entry.EntryType()) {
    case retText:
      registry.WriteString(Entry.Ident(), Entry.GetExpandedText());
      break;
    case retInteger:
      registry.WriteInteger(Entry.Ident(), Entry.Integer());
      break;
    case retBoolean:
      registry.WriteBool(Entry.Ident(), Entry.Boolean());
      break;
  }
  if (journal != nullptr) journal->NoteValueWritten(static_cast<int>(FRootKey), GetKeyPath(), Entry.Ident());
}

void TCustomInstallRegistry::Install() {
  // The key is made also when no entry is written (the company's and the product's keys
  // have none): the uninstall log names it.
  {
    TqnlkRegistry registry;
    OpenKey(registry);
  }
  for (int i = 0; i < FEntries->Count(); ++i) {
    TRegistryEntry* entry = FEntries->Entry(i);
    bool proceed = true;
    if (OnBeforeWriteEntry) OnBeforeWriteEntry(this, entry, proceed);
    if (proceed) WriteEntry(*entry);
  }
  TInstallObject::Install();
}

std::string TCustomInstallRegistry::LoggedRecordOfKey(const std::string& LogKey) const {
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly(LogKey)) return std::string();
  const std::string path = GetKeyPath();
  const int root = static_cast<int>(FRootKey);
  // The records there are, not the count, which may be damaged.
  for (const std::string& name : registry.GetKeyNames()) {
    if (name.size() <= 11 || !fw::SameText(name.substr(0, 11), "RegistryKey")) continue;
    const std::string record = LogKey + "\\" + name;
    if (fw::SameText(ReadRegString(hkLocalMachine, record, "Key", ""), path) &&
        ReadRegInteger(hkLocalMachine, record, "Root", -1) == root)
      return record;
  }
  return std::string();
}

void TCustomInstallRegistry::WriteUninstallInfo(const std::string& Key) {
  const std::string logKey = Key + "\\" + kRegistryKeysLogKey;
  // A key an earlier run of the setup logged keeps its one record (a second run doubled
  // it); this run's entries join it.
  std::string entryKey = LoggedRecordOfKey(logKey);
  if (entryKey.empty()) {
    int count = 0;
    if (!fw::TryStrToInt(ReadRegString(hkLocalMachine, logKey, "Entries", "0"), count) || count < 0 ||
        count == std::numeric_limits<int>::max())
      count = 0;
    int number = count + 1;
    // A count that fell behind its records (or was damaged) does not overwrite one of them.
    TqnlkRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    while (registry.KeyExistsReadOnly(logKey + "\\RegistryKey" + std::to_string(number))) ++number;
    WriteRegString(hkLocalMachine, logKey, "Entries", std::to_string(number));
    entryKey = logKey + "\\RegistryKey" + std::to_string(number);
    WriteRegString(hkLocalMachine, entryKey, "Key", GetKeyPath());
    WriteRegInteger(hkLocalMachine, entryKey, "Root", static_cast<int>(FRootKey));
  }
  // Each value with the data it was given, in decimal for a number: the uninstaller
  // removes a value only while it still holds that.
  for (int i = 0; i < FEntries->Count(); ++i) {
    const TRegistryEntry* entry = FEntries->Entry(i);
    WriteRegString(hkLocalMachine, entryKey + "\\Entries", entry->Ident(), LoggedData(*entry));
  }
}

void TCustomInstallRegistry::InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) {
  if (Code == icProcessRegistry) Process();
}

void TCustomInstallRegistry::RemoveReference(TInstallContainer* Obj) {
  TInstallObject::RemoveReference(Obj);
  // The engine has gone: its names can no longer make the key.
  if (GlobalInstall() == nullptr) FKeySpecifierType = ksAbsolute;
}

void TCustomInstallRegistry::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation != fw::opRemove || AComponent == nullptr) return;
  for (int i = 0; i < FEntries->Count(); ++i)
    if (FEntries->Entry(i)->PathSpecifier() == AComponent) FEntries->Entry(i)->DropPathSpecifier();
}

// --- TInstallRegistry ------------------------------------------------------------

const fw::TClass& TInstallRegistry::StaticClass() {
  using T = TInstallRegistry;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Creatable()
          .Component("Container", &T::Container, &T::SetContainer)
          .Object("Entries", &T::Entries)
          .Set("InstallTypes", InstallTypeInfo(), &T::InstallTypes, &T::SetInstallTypes)
          .String("Key", &T::Key, &T::SetKey)
          .Enum("KeySpecifierType", KeySpecifierInfo(), &T::KeySpecifierType, &T::SetKeySpecifierType)
          .Enum("RootKey", RootKeysInfo(), &T::RootKey, &T::SetRootKey)
          .Boolean("Uninstall", &T::Uninstall, &T::SetUninstall)
          .Event("OnAfterProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnAfterProcess))
          .Event("OnBeforeProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnBeforeProcess))
          .Event("OnBeforeWriteEntry", static_cast<TBeforeWriteEntry T::*>(&T::OnBeforeWriteEntry));
  return cls;
}

}  // namespace setup
