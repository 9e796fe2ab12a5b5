// Run-time class information: class names and ancestry, creation by class name,
// published properties with typed accessors, published fields and handlers.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

namespace fw {

class TObject;
class TComponent;

enum class TTypeKind {
  Integer,      // ordinal, optionally with identifiers (colours, charsets)
  Float,
  Boolean,
  String,
  Enumeration,  // ordinal with names
  Set,          // bit mask over an enumeration's names
  Component,    // reference to another component, resolved by name
  Object,       // owned sub-object with its own properties (Font, Information, Lines)
  StringList,   // the lines of a string list
  Binary,       // raw data (a picture)
  Method,       // event: one of the form's handlers, by name
};

const char* TypeKindName(TTypeKind kind);

// Names of an enumeration's values in ordinal order.
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;
  int IndexOf(std::string_view name) const;  // -1 when unknown; case-insensitive
};

// Maps identifiers such as clWindowText to an integer property's value.
using TIdentToInt = bool (*)(std::string_view ident, long long& value);

class TClass;

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::Integer;
  const TEnumInfo* EnumType = nullptr;   // Enumeration, Set
  // Component (accepted class), Object (declared class); a function, since a class may
  // refer to itself while its own information is being built.
  const TClass& (*PropClass)() = nullptr;
  std::type_index MethodType = typeid(void);  // Method: the event's signature
  TIdentToInt IdentToInt = nullptr;      // Integer

  std::function<long long(const TObject*)> GetOrd;  // Integer, Boolean, Enumeration, Set
  std::function<void(TObject*, long long)> SetOrd;
  std::function<double(const TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<std::string(const TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<TObject*(const TObject*)> GetObj;   // Component, Object
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<std::vector<std::string>(const TObject*)> GetList;
  std::function<void(TObject*, const std::vector<std::string>&)> SetList;
  std::function<std::vector<uint8_t>(const TObject*)> GetBin;
  std::function<void(TObject*, const std::vector<uint8_t>&)> SetBin;
  std::function<void(TObject*, const std::any&)> SetMethod;  // any holds TMethodPtr<signature>
  std::function<bool(const TObject*)> HasMethod;

  bool ReadOnly() const;
};

// A published handler of a form: bound to an instance it becomes an event value.
struct TMethodInfo {
  std::string Name;
  std::type_index Signature = typeid(void);
  std::function<std::any(TObject* instance)> Bind;
};

// A published field of a form: set to the component of the same name when the form loads.
struct TFieldInfo {
  std::string Name;
  const TClass& (*FieldClass)() = nullptr;
  std::function<void(TObject* instance, TObject* value)> Set;
};

class TClass {
 public:
  using TFactory = std::function<TObject*(TObject* owner)>;

  TClass(std::string name, const TClass* parent) : FName(std::move(name)), FParent(parent) {}

  const std::string& ClassName() const { return FName; }
  const TClass* ClassParent() const { return FParent; }
  bool InheritsFrom(const TClass& other) const;

  // Looks through this class and its ancestors; names compare without regard to case.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  // Every published property, ancestors' first; a redeclared property appears once.
  std::vector<const TPropInfo*> Properties() const;

  bool IsCreatable() const { return static_cast<bool>(FFactory); }
  // Creates an instance; the owner is a component, or the collection for collection items.
  TObject* CreateInstance(TObject* owner) const;
  TComponent* CreateComponent(TComponent* owner) const;

 protected:
  std::string FName;
  const TClass* FParent;
  TFactory FFactory;
  std::vector<TPropInfo> FProps;
  std::vector<TMethodInfo> FMethods;
  std::vector<TFieldInfo> FFields;
};

// Classes that may be created by name from a form resource. The registry exists between
// the framework core's start-up and shut-down (see Startup.h); registering outside that
// raises EComponentError, and GetClass finds nothing.
void StartClassRegistry();
void StopClassRegistry();
void RegisterClass(const TClass& cls);
void RegisterClasses(std::initializer_list<const TClass*> classes);
const TClass* GetClass(std::string_view name);  // nil when unknown
const TClass& FindClass(std::string_view name);  // raises EClassNotFound "Class %s not found"

}  // namespace fw
