// Path specifiers: components that name a destination folder for an installable
// object. This unit holds the base classes, the global lists through which specifiers
// are found and the registry of standard specifier classes, from which the first
// installable object on a form creates one specifier of each class.
#pragma once

#include <string>
#include <vector>

#include "core/Classes.h"
#include "core/Events.h"
#include "support/Errors.h"

namespace setup {

SETUP_IEXCEPTION(IEPathSpecifier, IException);
SETUP_IEXCEPTION(IEPathSpecifierList, IException);
SETUP_IEXCEPTION(IEPathSpecifierClassList, IException);

using TGetPathEvent = fw::TMethodPtr<void(fw::TComponent* Component, std::string& Path)>;

class TCustomPathSpecifier : public fw::TComponent {
  FW_CLASS(TCustomPathSpecifier, fw::TComponent)
 public:
  explicit TCustomPathSpecifier(fw::TComponent* AOwner);
  ~TCustomPathSpecifier() override;

  // Raises IEPathSpecifier when Obj may not use this specifier; accepts everything here.
  virtual void ValidateObject(fw::TComponent* Obj) {}
  virtual std::string GetDescription() const { return "Unspecified"; }
  virtual std::string GetObjectDescription(fw::TComponent* Obj) const { return GetDescription(); }
  // The folder for Obj, without trailing "\": OnGetPath's answer here, else empty.
  virtual std::string GetPath(fw::TComponent* Obj);
  virtual std::string GetCaption() const { return GetDescription(); }
  virtual std::string GetObjectCaption(fw::TComponent* Obj) const { return GetObjectDescription(Obj); }

  // The name a created standard specifier takes.
  const std::string& DefaultName() const { return FDefaultName; }

 protected:
  TGetPathEvent FOnGetPath;
  std::string FDefaultName;
};

// The user-defined specifier of a configuration: its path is what its OnGetPath event
// answers.
class TPathSpecifier : public TCustomPathSpecifier {
  FW_CLASS(TPathSpecifier, TCustomPathSpecifier)
 public:
  explicit TPathSpecifier(fw::TComponent* AOwner);

  std::string GetDescription() const override { return FDescription; }
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& Value) { FDescription = Value; }
  TGetPathEvent& OnGetPath() { return FOnGetPath; }

  // Text with "%p" (either case) replaced by Path; "%" and any other character gives
  // that character, a final "%" is dropped.
  static std::string ExpandPathVariable(const std::string& Text, const std::string& Path);

 private:
  std::string FDescription = "My cool new path specifier";
};

// Base of the built-in specifiers; each also joins the standard list.
class TStandardPathSpecifier : public TCustomPathSpecifier {
  FW_CLASS(TStandardPathSpecifier, TCustomPathSpecifier)
 public:
  explicit TStandardPathSpecifier(fw::TComponent* AOwner);
  ~TStandardPathSpecifier() override;
};

class TPathSpecifierList {
 public:
  virtual ~TPathSpecifierList() = default;
  int Count() const { return static_cast<int>(FItems.size()); }
  TCustomPathSpecifier* GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  // Raises IEPathSpecifierList for nil.
  void Add(TCustomPathSpecifier* Item);
  void Remove(TCustomPathSpecifier* Item);
  // The first specifier of the class or a descendant, in creation order; raises
  // IEPathSpecifier "Could not find the path specifier" when there is none.
  virtual TCustomPathSpecifier* FindByClass(const fw::TClass& Class) const;
  // The same, nil when there is none.
  TCustomPathSpecifier* Find(const fw::TClass& Class) const;
  // One specifier of every registered standard class on Owner (nothing for nil).
  void CreateStandardSpecifiers(fw::TComponent* Owner, bool SkipExisting);

 private:
  std::vector<TCustomPathSpecifier*> FItems;
};

using TStandardPathSpecList = TPathSpecifierList;

// The registered standard specifier classes, in registration order.
class TPathSpecifierClassList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const fw::TClass* GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  // Raises IEPathSpecifierClassList for nil; a class registered already stays in place.
  void Add(const fw::TClass* Class);

 private:
  std::vector<const fw::TClass*> FItems;
};

// The global lists; nil once the program's end has freed them.
TPathSpecifierList* PathSpecifiers();
TStandardPathSpecList* StandardPathSpecifiers();
TPathSpecifierClassList* PathSpecifierClasses();

// Creates a specifier of Class on Owner, named by its DefaultName, unless SkipExisting
// and one of that class exists already.
void CreateStandardSpecifier(const fw::TClass& Class, fw::TComponent* Owner, bool SkipExisting);

}  // namespace setup
