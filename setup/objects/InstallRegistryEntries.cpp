#include "InstallRegistryEntries.h"

#include "InstallRegistry.h"
#include "core/ClassDef.h"
#include "paths/PathSpecifier.h"

namespace setup {

const fw::TEnumInfo& RegistryEntryTypeInfo() {
  static const fw::TEnumInfo info{"TRegistryEntryType", {"retText", "retInteger", "retBoolean"}};
  return info;
}

// --- TRegistryEntry --------------------------------------------------------------

const fw::TClass& TRegistryEntry::StaticClass() {
  using T = TRegistryEntry;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable<fw::TCollection>()
                                    .Boolean("Boolean", &T::Boolean, &T::SetBoolean)
                                    .Enum("EntryType", RegistryEntryTypeInfo(), &T::EntryType, &T::SetEntryType)
                                    .String("Ident", &T::Ident, &T::SetIdent)
                                    .Integer("Integer", &T::Integer, &T::SetInteger)
                                    .Component("PathSpecifier", &T::PathSpecifier, &T::SetPathSpecifier)
                                    .String("Text", &T::Text, &T::SetText);
  return cls;
}

TRegistryEntry::TRegistryEntry(fw::TCollection* Collection) : fw::TCollectionItem(Collection) {}

TCustomInstallRegistry* TRegistryEntry::InstallRegistry() const {
  auto* entries = dynamic_cast<TRegistryEntries*>(Collection());
  return entries != nullptr ? entries->Owner() : nullptr;
}

bool TRegistryEntry::OutsideLoading() const {
  TCustomInstallRegistry* owner = InstallRegistry();
  return owner != nullptr && !owner->IsLoading();
}

void TRegistryEntry::SetBoolean(bool Value) {
  FBoolean = Value;
  if (OutsideLoading()) FEntryType = retBoolean;
}

void TRegistryEntry::SetInteger(int Value) {
  FInteger = Value;
  if (OutsideLoading()) FEntryType = retInteger;
}

void TRegistryEntry::SetText(const std::string& Value) {
  FText = Value;
  if (OutsideLoading()) FEntryType = retText;
}

void TRegistryEntry::SetPathSpecifier(TCustomPathSpecifier* Value) {
  TCustomInstallRegistry* owner = InstallRegistry();
  if (OutsideLoading()) {
    if (Value != nullptr) {
      Value->ValidateObject(owner);
      FText = "%p";
    }
    FEntryType = retText;
  }
  FPathSpecifier = Value;
  // The registry object drops the specifier from its entries when it goes.
  if (Value != nullptr && owner != nullptr) Value->FreeNotification(owner);
}

std::string TRegistryEntry::GetExpandedText() const {
  if (FPathSpecifier == nullptr) return FText;
  return TPathSpecifier::ExpandPathVariable(FText, FPathSpecifier->GetPath(InstallRegistry()));
}

void TRegistryEntry::SetValueText(const std::string& S) {
  switch (FEntryType) {
    case retText:
      SetText(S);
      return;
    case retInteger:
      SetInteger(fw::Trim(S).empty() ? 0 : fw::StrToInt(S));
      return;
    case retBoolean:
      if (fw::SameText(S, "True") || fw::SameText(S, "False")) {
        SetBoolean(fw::SameText(S, "True"));
        return;
      }
      throw IERegistryEntry("%s is not a valid boolean value. Use True or False", S);
  }
}

void TRegistryEntry::Assign(const fw::TPersistent* Source) {
  const auto* source = dynamic_cast<const TRegistryEntry*>(Source);
  if (source == nullptr) {
    fw::TCollectionItem::Assign(Source);
    return;
  }
  FBoolean = source->FBoolean;
  FEntryType = source->FEntryType;
  FIdent = source->FIdent;
  FInteger = source->FInteger;
  FText = source->FText;
  FPathSpecifier = source->FPathSpecifier;
  if (FPathSpecifier != nullptr && InstallRegistry() != nullptr) FPathSpecifier->FreeNotification(InstallRegistry());
}

// --- TRegistryEntries ------------------------------------------------------------

const fw::TClass& TRegistryEntries::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TRegistryEntries>();
  return cls;
}

TRegistryEntries::TRegistryEntries(TCustomInstallRegistry* AOwner)
    : fw::TCollection(TRegistryEntry::StaticClass()), FOwner(AOwner) {
  if (AOwner == nullptr) throw IERegistryEntries("Cannot create a TRegistryEntries component with a Nil Owner");
}

}  // namespace setup
