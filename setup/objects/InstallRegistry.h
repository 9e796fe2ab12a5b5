// Registry objects: installable objects (category 8500) that write one key with a list
// of typed entries and log it under the product's uninstall key, for the uninstaller.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "InstallContainer.h"
#include "InstallRegistryEntries.h"
#include "UninstallLogFormat.h"
#include "support/Registry.h"

namespace setup {

SETUP_IEXCEPTION(IEInstallRegistry, IException);
SETUP_IEXCEPTION(IEInstallRegistryList, IException);

// How the key is named: as written, or below "\SOFTWARE\" by the engine's company,
// product and version.
class TqnlkRegistry;

enum class TKeySpecifier { ksAbsolute, ksCompanyName, ksProductName, ksVersion };
using enum TKeySpecifier;
const fw::TEnumInfo& KeySpecifierInfo();

using TBeforeWriteEntry =
    fw::TMethodPtr<void(TCustomInstallRegistry* InstallRegistry, TRegistryEntry* Entry, bool& Continue)>;

class TCustomInstallRegistry : public TInstallObject {
  FW_CLASS(TCustomInstallRegistry, TInstallObject)
 public:
  explicit TCustomInstallRegistry(fw::TComponent* AOwner);
  ~TCustomInstallRegistry() override;

  TRegistryEntries* Entries() const { return FEntries.get(); }
  // Copies the given entries.
  void SetEntries(const TRegistryEntries* Value) { FEntries->Assign(Value); }
  const std::string& Key() const { return FKey; }
  // Stores an empty key unless the key is absolute.
  void SetKey(const std::string& Value);
  TKeySpecifier KeySpecifierType() const { return FKeySpecifierType; }
  // Any kind but ksAbsolute empties Key and takes HKEY_LOCAL_MACHINE; outside loading
  // it needs the engine (IEInstallRegistry, and nothing changes).
  void SetKeySpecifierType(TKeySpecifier Value);
  TRootKeys RootKey() const { return FRootKey; }
  void SetRootKey(TRootKeys Value) { FRootKey = Value; }

  TBeforeWriteEntry OnBeforeWriteEntry;

  // The key the object writes; the engine's names need the engine (IEInstallRegistry).
  std::string GetKeyPath() const;
  // Makes the key (also without entries), writes each entry that OnBeforeWriteEntry
  // lets through, then installs as every object does.
  void Install() override;
  // Logs the key, its root and every entry (written or not) as RegistryKey<n>; a key
  // the log names already (an earlier run) gets the entries into its record.
  void WriteUninstallInfo(const std::string& Key) override;
  void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) override;
  void RemoveReference(TInstallContainer* Obj) override;

  // The information code on which the object processes itself.
  static constexpr int icProcessRegistry = -968;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  // Opens (making) the object's key in Registry; IERegistryEntry when it cannot.
  void OpenKey(TqnlkRegistry& Registry) const;
  // Raises IERegistryEntry when the key cannot be opened; write errors propagate.
  void WriteEntry(const TRegistryEntry& Entry);

  // A value the install step wrote: whether it made it (it was not there before) and
  // the type and bytes it wrote.
  struct TWrittenValue {
    std::string Name;
    bool Made = false;
    uint32_t Type = 0;
    std::string Data;
  };

  std::unique_ptr<TRegistryEntries> FEntries;
  // What the last install step made: how many of the key's last levels, and the values
  // it wrote by their upper-case names.
  int FMadeLevels = 0;
  std::map<std::string, TWrittenValue> FWrittenValues;
  std::string FKey = "\\SOFTWARE\\MyStuff";
  TKeySpecifier FKeySpecifierType = ksAbsolute;
  TRootKeys FRootKey = hkLocalMachine;
};

class TInstallRegistry : public TCustomInstallRegistry {
  FW_CLASS(TInstallRegistry, TCustomInstallRegistry)
 public:
  using TCustomInstallRegistry::TCustomInstallRegistry;
};

// Every registry object, in construction order; nil once the program's end freed it.
class TInstallRegistryList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TCustomInstallRegistry* GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  // Raises IEInstallRegistryList for nil.
  void Add(TCustomInstallRegistry* Item);
  void Remove(TCustomInstallRegistry* Item);

 private:
  std::vector<TCustomInstallRegistry*> FItems;
};
TInstallRegistryList* InstallRegistries();

}  // namespace setup
