#include "TypInfo.h"

#include <map>
#include <mutex>

#include "Classes.h"

namespace fw {

const char* TypeKindName(TTypeKind kind) {
  switch (kind) {
    case TTypeKind::Integer: return "integer";
    case TTypeKind::Float: return "float";
    case TTypeKind::Boolean: return "boolean";
    case TTypeKind::String: return "string";
    case TTypeKind::Enumeration: return "enumeration";
    case TTypeKind::Set: return "set";
    case TTypeKind::Component: return "component reference";
    case TTypeKind::Object: return "object";
    case TTypeKind::StringList: return "string list";
    case TTypeKind::Binary: return "binary data";
    case TTypeKind::Method: return "event";
  }
  return "unknown";
}

int TEnumInfo::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], name)) return static_cast<int>(i);
  return -1;
}

bool TPropInfo::ReadOnly() const {
  switch (Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Boolean:
    case TTypeKind::Enumeration:
    case TTypeKind::Set: return !SetOrd;
    case TTypeKind::Float: return !SetFloat;
    case TTypeKind::String: return !SetStr;
    case TTypeKind::Component:
    case TTypeKind::Object: return !SetObj;
    case TTypeKind::StringList: return !SetList;
    case TTypeKind::Binary: return !SetBin;
    case TTypeKind::Method: return !SetMethod;
  }
  return true;
}

bool TClass::InheritsFrom(const TClass& other) const {
  for (const TClass* c = this; c != nullptr; c = c->FParent)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClass::FindProperty(std::string_view name) const {
  for (const TClass* c = this; c != nullptr; c = c->FParent)
    for (const TPropInfo& p : c->FProps)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

const TMethodInfo* TClass::FindMethod(std::string_view name) const {
  for (const TClass* c = this; c != nullptr; c = c->FParent)
    for (const TMethodInfo& m : c->FMethods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TFieldInfo* TClass::FindField(std::string_view name) const {
  for (const TClass* c = this; c != nullptr; c = c->FParent)
    for (const TFieldInfo& f : c->FFields)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

std::vector<const TPropInfo*> TClass::Properties() const {
  std::vector<const TClass*> chain;
  for (const TClass* c = this; c != nullptr; c = c->FParent) chain.insert(chain.begin(), c);
  std::vector<const TPropInfo*> out;
  for (const TClass* c : chain)
    for (const TPropInfo& p : c->FProps) {
      bool replaced = false;
      for (auto& existing : out)
        if (SameText(existing->Name, p.Name)) {
          existing = &p;
          replaced = true;
        }
      if (!replaced) out.push_back(&p);
    }
  return out;
}

TObject* TClass::CreateInstance(TObject* owner) const {
  if (!FFactory) throw EClassNotFound(Format("Cannot create an instance of the abstract class %s", FName.c_str()));
  return FFactory(owner);
}

TComponent* TClass::CreateComponent(TComponent* owner) const {
  if (!InheritsFrom(TComponent::StaticClass()))
    throw EClassNotFound(Format("%s is not a component class", FName.c_str()));
  return static_cast<TComponent*>(CreateInstance(owner));
}

namespace {
struct TClassRegistry {
  std::mutex Lock;
  std::map<std::string, const TClass*> ByName;  // upper-case name
};
// Exists between StartClassRegistry and StopClassRegistry.
TClassRegistry* gClassRegistry = nullptr;
}  // namespace

void StartClassRegistry() {
  if (gClassRegistry == nullptr) gClassRegistry = new TClassRegistry();
}

void StopClassRegistry() {
  delete gClassRegistry;
  gClassRegistry = nullptr;
}

void RegisterClass(const TClass& cls) {
  if (gClassRegistry == nullptr)
    throw EComponentError(Format("Cannot register the class %s before the framework has started", cls.ClassName()));
  std::lock_guard<std::mutex> guard(gClassRegistry->Lock);
  gClassRegistry->ByName[UpperCase(cls.ClassName())] = &cls;
}

void RegisterClasses(std::initializer_list<const TClass*> classes) {
  for (const TClass* c : classes) RegisterClass(*c);
}

const TClass* GetClass(std::string_view name) {
  if (gClassRegistry == nullptr) return nullptr;
  std::lock_guard<std::mutex> guard(gClassRegistry->Lock);
  auto it = gClassRegistry->ByName.find(UpperCase(name));
  return it == gClassRegistry->ByName.end() ? nullptr : it->second;
}

const TClass& FindClass(std::string_view name) {
  const TClass* cls = GetClass(name);
  if (cls == nullptr)
    throw EClassNotFound(Format("Class %s not found", name));
  return *cls;
}

}  // namespace fw
