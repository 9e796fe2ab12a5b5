// The typed values that a registry object writes under its key: text (which may name
// the folder of a path specifier as "%p"), integer or boolean.
#pragma once

#include <string>

#include "core/Collections.h"
#include "core/TypInfo.h"
#include "support/Errors.h"

namespace setup {

class TCustomInstallRegistry;
class TCustomPathSpecifier;

SETUP_IEXCEPTION(IERegistryEntry, IException);
SETUP_IEXCEPTION(IERegistryEntries, IException);

enum class TRegistryEntryType { retText, retInteger, retBoolean };
using enum TRegistryEntryType;
const fw::TEnumInfo& RegistryEntryTypeInfo();

class TRegistryEntry : public fw::TCollectionItem {
  FW_CLASS(TRegistryEntry, fw::TCollectionItem)
 public:
  explicit TRegistryEntry(fw::TCollection* Collection);

  // The registry object whose entries hold this one; nil outside such a collection.
  TCustomInstallRegistry* InstallRegistry() const;

  // Outside loading, setting a value also makes its kind the entry's type.
  bool Boolean() const { return FBoolean; }
  void SetBoolean(bool Value);
  TRegistryEntryType EntryType() const { return FEntryType; }
  void SetEntryType(TRegistryEntryType Value) { FEntryType = Value; }
  const std::string& Ident() const { return FIdent; }
  void SetIdent(const std::string& Value) { FIdent = Value; }
  int Integer() const { return FInteger; }
  void SetInteger(int Value);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  TCustomPathSpecifier* PathSpecifier() const { return FPathSpecifier; }
  // Outside loading the specifier first checks the registry object (ValidateObject may
  // raise), then the entry becomes the text "%p"; nil only makes the entry a text.
  void SetPathSpecifier(TCustomPathSpecifier* Value);
  // The specifier is going: the entry keeps its type.
  void DropPathSpecifier() { FPathSpecifier = nullptr; }

  // Text, with "%p" replaced by the specifier's folder for the registry object when a
  // specifier is set (the folder is asked for even when Text holds no "%p").
  std::string GetExpandedText() const;
  // Sets the value of the entry's type from a text: an integer from decimal digits
  // (blank gives 0; other texts raise EConvertError), a boolean from "True" or "False"
  // in any case (other texts raise IERegistryEntry).
  void SetValueText(const std::string& S);

  void Assign(const fw::TPersistent* Source) override;

 private:
  bool OutsideLoading() const;

  bool FBoolean = false;
  TRegistryEntryType FEntryType = retText;
  std::string FIdent;
  int FInteger = 0;
  TCustomPathSpecifier* FPathSpecifier = nullptr;
  std::string FText;
};

class TRegistryEntries : public fw::TCollection {
  FW_CLASS(TRegistryEntries, fw::TCollection)
 public:
  // Raises IERegistryEntries for a nil owner.
  explicit TRegistryEntries(TCustomInstallRegistry* AOwner);
  TCustomInstallRegistry* Owner() const { return FOwner; }
  TRegistryEntry* Entry(int Index) const { return static_cast<TRegistryEntry*>(Items(Index)); }
  TRegistryEntry* AddEntry() { return static_cast<TRegistryEntry*>(Add()); }

 private:
  TCustomInstallRegistry* FOwner;
};

}  // namespace setup
