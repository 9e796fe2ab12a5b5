// Component classes for the form loader's fuzzer: between them they publish every kind
// of property the loader fills (ordinals with identifiers, floats, booleans, strings,
// enumerations, sets, component references, sub-objects, string lists, binary data,
// collections whose items hold references, events and collections of their own, events).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Collections.h"
#include "core/Strings.h"

namespace fuzz {

enum class TShade { shLight, shMedium, shDark };
using TShades = fw::TSet<TShade>;
using TCountEvent = fw::TMethodPtr<void(fw::TObject* Sender, int& Count)>;

class TFuzzPart;

// An owned sub-object reached with dotted names.
class TFuzzDetails : public fw::TPersistent {
  FW_CLASS(TFuzzDetails, fw::TPersistent)
 public:
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  int Level() const { return FLevel; }
  void SetLevel(int Value) { FLevel = Value; }
  TFuzzPart* Partner() const { return FPartner; }
  void SetPartner(TFuzzPart* Value) { FPartner = Value; }

 private:
  std::string FTitle;
  int FLevel = 0;
  TFuzzPart* FPartner = nullptr;
};

// An item of an inner collection: a reference of its own.
class TFuzzLeaf : public fw::TCollectionItem {
  FW_CLASS(TFuzzLeaf, fw::TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  TFuzzPart* Target() const { return FTarget; }
  void SetTarget(TFuzzPart* Value) { FTarget = Value; }
  const std::string& Note() const { return FNote; }
  void SetNote(const std::string& Value) { FNote = Value; }

 private:
  TFuzzPart* FTarget = nullptr;
  std::string FNote;
};

// An item like a registry object's entries: a reference, an event, a sub-object and a
// collection of its own.
class TFuzzEntry : public fw::TCollectionItem {
  FW_CLASS(TFuzzEntry, fw::TCollectionItem)
 public:
  explicit TFuzzEntry(fw::TCollection* Collection);
  const std::string& Ident() const { return FIdent; }
  void SetIdent(const std::string& Value) { FIdent = Value; }
  int Value() const { return FValue; }
  void SetValue(int Value) { FValue = Value; }
  TFuzzPart* Specifier() const { return FSpecifier; }
  void SetSpecifier(TFuzzPart* Value) { FSpecifier = Value; }
  TShade Shade() const { return FShade; }
  void SetShade(TShade Value) { FShade = Value; }
  TFuzzDetails* Details() const { return const_cast<TFuzzDetails*>(&FDetails); }
  fw::TCollection* Leaves() const { return const_cast<fw::TCollection*>(&FLeaves); }

  TCountEvent OnCount;

 private:
  std::string FIdent;
  int FValue = 0;
  TFuzzPart* FSpecifier = nullptr;
  TShade FShade = TShade::shLight;
  TFuzzDetails FDetails;
  fw::TCollection FLeaves;
};

class TFuzzPart : public fw::TComponent {
  FW_CLASS(TFuzzPart, fw::TComponent)
 public:
  explicit TFuzzPart(fw::TComponent* AOwner);
  int Size() const { return FSize; }
  void SetSize(int Value) { FSize = Value; }
  int Color() const { return FColor; }
  void SetColor(int Value) { FColor = Value; }
  double Ratio() const { return FRatio; }
  void SetRatio(double Value) { FRatio = Value; }
  bool Flag() const { return FFlag; }
  void SetFlag(bool Value) { FFlag = Value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  TShade Shade() const { return FShade; }
  void SetShade(TShade Value) { FShade = Value; }
  TShades Shades() const { return FShades; }
  void SetShades(TShades Value) { FShades = Value; }
  TFuzzPart* Buddy() const { return FBuddy; }
  void SetBuddy(TFuzzPart* Value) { FBuddy = Value; }
  fw::TComponent* Anything() const { return FAnything; }
  void SetAnything(fw::TComponent* Value) { FAnything = Value; }
  TFuzzDetails* Details() const { return const_cast<TFuzzDetails*>(&FDetails); }
  fw::TStringList* Lines() const { return const_cast<fw::TStringList*>(&FLines); }
  std::vector<std::string> Notes() const { return FNotes; }
  void SetNotes(const std::vector<std::string>& Value) { FNotes = Value; }
  std::vector<uint8_t> Data() const { return FData; }
  void SetData(const std::vector<uint8_t>& Value) { FData = Value; }
  fw::TCollection* Entries() const { return const_cast<fw::TCollection*>(&FEntries); }

  fw::TNotifyEvent OnClick;
  TCountEvent OnCount;

 private:
  int FSize = 0;
  int FColor = 0;
  double FRatio = 0;
  bool FFlag = false;
  std::string FCaption;
  TShade FShade = TShade::shLight;
  TShades FShades;
  TFuzzPart* FBuddy = nullptr;
  fw::TComponent* FAnything = nullptr;
  TFuzzDetails FDetails;
  fw::TStringList FLines;
  std::vector<std::string> FNotes;
  std::vector<uint8_t> FData;
  fw::TCollection FEntries;
};

// The root: handlers for events and a field for the component named First.
class TFuzzForm : public fw::TComponent {
  FW_CLASS(TFuzzForm, fw::TComponent)
 public:
  using TComponent::TComponent;
  void Clicked(fw::TObject* Sender) { ++FClicks; }
  void Counted(fw::TObject* Sender, int& Count) { ++Count; }
  TFuzzPart* First = nullptr;  // a published field, set by the loader
  int Clicks() const { return FClicks; }

 private:
  int FClicks = 0;
};

// Registers the classes a description may name.
void RegisterFuzzClasses();

}  // namespace fuzz
