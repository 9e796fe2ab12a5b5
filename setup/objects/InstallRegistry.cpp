#include "InstallRegistry.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <set>

#include "InstallEngine.h"
#include "InstallRunJournal.h"
#include "UninstallLogReader.h"
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

// A number as a REG_DWORD holds it.
std::string NumberBytes(int Value) {
  const auto value = static_cast<uint32_t>(Value);
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i) & 0xFF);
  return bytes;
}

// How many of Key's last levels are missing below the root of Root (a level that cannot
// be opened is there, and not made by this step).
int MissingLevels(int Root, const std::string& Key) {
  int missing = 0;
  std::string key = RemoveTrailingBackslash(Key);
  if (!key.empty() && key[0] == '\\') key.erase(0, 1);
  for (; !key.empty() && RegistryKeyMissing(Root, key); ++missing) {
    const size_t slash = key.find_last_of('\\');
    if (slash == std::string::npos) return missing + 1;
    key.erase(slash);
  }
  return missing;
}

}  // namespace

void TCustomInstallRegistry::WriteEntry(const TRegistryEntry& Entry) {
  TqnlkRegistry registry;
  OpenKey(registry);
  const bool existed = registry.ValueExists(Entry.Ident());
  TInstallRunJournal* journal = CurrentRunJournal();
  if (journal != nullptr) journal->NoteValueBefore(static_cast<int>(FRootKey), GetKeyPath(), Entry.Ident());
  TWrittenValue written;
  written.Name = Entry.Ident();
  switch (Entry.EntryType()) {
    case retText: {
      const std::string text = Entry.GetExpandedText();
      registry.WriteString(Entry.Ident(), text);
      written.Type = REG_SZ;
      written.Data = text + '\0';
      break;
    }
    case retInteger:
      registry.WriteInteger(Entry.Ident(), Entry.Integer());
      written.Type = REG_DWORD;
      written.Data = NumberBytes(Entry.Integer());
      break;
    case retBoolean:
      registry.WriteBool(Entry.Ident(), Entry.Boolean());
      written.Type = REG_DWORD;
      written.Data = NumberBytes(Entry.Boolean() ? 1 : 0);
      break;
  }
  if (journal != nullptr) journal->NoteValueWritten(static_cast<int>(FRootKey), GetKeyPath(), Entry.Ident());
  // A value this step made for an earlier entry of the same name stays its own.
  auto [at, added] = FWrittenValues.try_emplace(fw::UpperCase(Entry.Ident()));
  written.Made = !existed || (!added && at->second.Made);
  at->second = std::move(written);
}

void TCustomInstallRegistry::Install() {
  // The key is made also when no entry is written (the company's and the product's keys
  // have none): the uninstall log names it, with the levels this step made.
  FWrittenValues.clear();
  {
    FMadeLevels = MissingLevels(static_cast<int>(FRootKey), GetKeyPath());
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

void TCustomInstallRegistry::WriteUninstallInfo(const std::string& Key) {
  const std::string logKey = Key + "\\" + kRegistryKeysLogKey;
  const std::string path = GetKeyPath();
  const int root = static_cast<int>(FRootKey);
  // A key an earlier run of the setup logged keeps its one record (a second run doubled
  // it); this run's entries join it, and what that run made stays made.
  const TUninstallLog log = ReadUninstallLog(Key);
  const TLoggedRegistryKey* earlier = nullptr;
  std::set<std::string> records;  // upper case
  for (const TLoggedRegistryKey& logged : log.RegistryKeys) {
    records.insert(fw::UpperCase(logged.Entry));
    if (earlier == nullptr && logged.Root == root && fw::SameText(logged.Key, path)) earlier = &logged;
  }
  std::string entryKey;
  if (earlier != nullptr) {
    entryKey = logKey + "\\" + earlier->Entry;
  } else {
    int count = 0;
    auto counted = log.ListCounts.find(fw::UpperCase(kRegistryKeysLogKey));
    if (counted == log.ListCounts.end() || !fw::TryStrToInt(counted->second, count) || count < 0 ||
        count == std::numeric_limits<int>::max())
      count = 0;
    int number = count + 1;
    // A count that fell behind its records (or was damaged) does not overwrite one of them.
    while (records.count("REGISTRYKEY" + std::to_string(number)) != 0) ++number;
    WriteRegString(hkLocalMachine, logKey, kLogCountValue, std::to_string(number));
    entryKey = logKey + "\\RegistryKey" + std::to_string(number);
    WriteRegString(hkLocalMachine, entryKey, "Key", path);
    WriteRegInteger(hkLocalMachine, entryKey, "Root", root);
  }
  const int madeLevels = std::max(FMadeLevels, earlier != nullptr ? earlier->MadeLevels : 0);
  if (madeLevels > 0 && (earlier == nullptr || earlier->MadeLevels != madeLevels))
    WriteRegInteger(hkLocalMachine, entryKey, kMadeLevelsValue, madeLevels);
  // Each value with the data it was given, in decimal for a number (what uninstallers of
  // earlier versions read)...
  for (int i = 0; i < FEntries->Count(); ++i) {
    const TRegistryEntry* entry = FEntries->Entry(i);
    WriteRegString(hkLocalMachine, entryKey + "\\" + kLogCountValue, entry->Ident(), LoggedData(*entry));
  }
  // ...and a copy of each value the installation made, as it wrote it: the uninstaller
  // removes a value only while it is still that.
  std::set<std::string> madeBefore;  // upper case
  if (earlier != nullptr)
    for (const TLoggedValue& value : earlier->Values)
      if (value.Made) madeBefore.insert(fw::UpperCase(value.Name));
  const std::string madeKey = entryKey + "\\" + kMadeValuesLogKey;
  for (const auto& [name, written] : FWrittenValues) {
    if (!written.Made && madeBefore.count(name) == 0) continue;
    TqnlkRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(madeKey, true) ||
        RegSetValueExA(registry.CurrentKey(), written.Name.c_str(), 0, written.Type,
                       reinterpret_cast<const BYTE*>(written.Data.data()),
                       static_cast<DWORD>(written.Data.size())) != ERROR_SUCCESS)
      throw EIRCannotWriteValue(
          fw::Format("Cannot install into registry. Key: %s Ident: %s Value %s", madeKey, written.Name, "(a copy)"));
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
