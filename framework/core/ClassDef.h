// TClassDef<T>: builds a class's run-time information in its StaticClass():
//
//   const TClass& TFoo::StaticClass() {
//     static const TClass cls = TClassDef<TFoo>()
//         .Creatable()
//         .Integer("Size", &TFoo::Size, &TFoo::SetSize)
//         .Object("Font", &TFoo::Font);
//     return cls;
//   }
//
// Properties are read and written through getter/setter member functions (or callables
// taking T*), never through public data members; events are TMethodPtr members and
// fields point at the form's components.
#pragma once

#include <functional>
#include <type_traits>

#include "Classes.h"
#include "Events.h"

namespace fw {

class TCollection;

template <class T>
class TClassDef : public TClass {
 public:
  // The name and parent class come from the class's FW_CLASS line.
  TClassDef() : TClass(T::StaticClassName(), &T::inherited::StaticClass()) {
    static_assert(std::is_same_v<typename T::ThisClass, T>, "the class lacks its own FW_CLASS line");
    static_assert(std::is_base_of_v<typename T::inherited, T> && !std::is_same_v<typename T::inherited, T>,
                  "FW_CLASS names a base that is not the class's C++ base");
  }

  // Instances may be created by class name; Owner is the constructor's one argument.
  template <class Owner = TComponent>
  TClassDef& Creatable() {
    FFactory = [](TObject* owner) -> TObject* { return new T(dynamic_cast<Owner*>(owner)); };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassDef& Integer(const char* name, G get, S set = nullptr, TIdentToInt idents = nullptr) {
    TPropInfo& p = Add(name, TTypeKind::Integer);
    p.IdentToInt = idents;
    p.GetOrd = [get](const TObject* o) { return static_cast<long long>(Get(get, o)); };
    if constexpr (!IsNull<S>) p.SetOrd = [set](TObject* o, long long v) { Put(set, o, static_cast<int>(v)); };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassDef& Float(const char* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TTypeKind::Float);
    p.GetFloat = [get](const TObject* o) { return static_cast<double>(Get(get, o)); };
    if constexpr (!IsNull<S>) p.SetFloat = [set](TObject* o, double v) { Put(set, o, v); };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassDef& Boolean(const char* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TTypeKind::Boolean);
    p.GetOrd = [get](const TObject* o) { return static_cast<long long>(Get(get, o) ? 1 : 0); };
    if constexpr (!IsNull<S>) p.SetOrd = [set](TObject* o, long long v) { Put(set, o, v != 0); };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassDef& String(const char* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TTypeKind::String);
    p.GetStr = [get](const TObject* o) { return std::string(Get(get, o)); };
    if constexpr (!IsNull<S>) p.SetStr = [set](TObject* o, const std::string& v) { Put(set, o, v); };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassDef& Enum(const char* name, const TEnumInfo& info, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TTypeKind::Enumeration);
    p.EnumType = &info;
    p.GetOrd = [get](const TObject* o) { return static_cast<long long>(Get(get, o)); };
    if constexpr (!IsNull<S>)
      p.SetOrd = [set](TObject* o, long long v) {
        using E = std::decay_t<decltype(Get(std::declval<G>(), o))>;
        Put(set, o, static_cast<E>(v));
      };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassDef& Set(const char* name, const TEnumInfo& info, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TTypeKind::Set);
    p.EnumType = &info;
    p.GetOrd = [get](const TObject* o) { return static_cast<long long>(Get(get, o).Mask()); };
    if constexpr (!IsNull<S>)
      p.SetOrd = [set](TObject* o, long long v) {
        using SetT = std::decay_t<decltype(Get(std::declval<G>(), o))>;
        Put(set, o, SetT::FromMask(static_cast<uint64_t>(v)));
      };
    return *this;
  }

  // A reference to another component; the setter receives nil or an instance of C.
  template <class G, class S = std::nullptr_t>
  TClassDef& Component(const char* name, G get, S set = nullptr) {
    using Ptr = std::decay_t<decltype(Get(std::declval<G>(), std::declval<const TObject*>()))>;
    using C = std::remove_cv_t<std::remove_pointer_t<Ptr>>;
    TPropInfo& p = Add(name, TTypeKind::Component);
    p.PropClass = &C::StaticClass;
    p.GetObj = [get](const TObject* o) -> TObject* { return const_cast<C*>(Get(get, o)); };
    if constexpr (!IsNull<S>) p.SetObj = [set](TObject* o, TObject* v) { Put(set, o, dynamic_cast<C*>(v)); };
    return *this;
  }

  // An owned sub-object whose own properties are reached with dotted names.
  template <class G, class S = std::nullptr_t>
  TClassDef& Object(const char* name, G get, S set = nullptr) {
    using Ptr = std::decay_t<decltype(Get(std::declval<G>(), std::declval<const TObject*>()))>;
    using C = std::remove_cv_t<std::remove_pointer_t<Ptr>>;
    TPropInfo& p = Add(name, TTypeKind::Object);
    p.PropClass = &C::StaticClass;
    p.GetObj = [get](const TObject* o) -> TObject* { return const_cast<C*>(Get(get, o)); };
    if constexpr (!IsNull<S>) p.SetObj = [set](TObject* o, TObject* v) { Put(set, o, dynamic_cast<C*>(v)); };
    return *this;
  }

  template <class G, class S>
  TClassDef& StringList(const char* name, G get, S set) {
    TPropInfo& p = Add(name, TTypeKind::StringList);
    p.GetList = [get](const TObject* o) { return Get(get, o); };
    p.SetList = [set](TObject* o, const std::vector<std::string>& v) { Put(set, o, v); };
    return *this;
  }

  template <class G, class S>
  TClassDef& Binary(const char* name, G get, S set) {
    TPropInfo& p = Add(name, TTypeKind::Binary);
    p.GetBin = [get](const TObject* o) { return Get(get, o); };
    p.SetBin = [set](TObject* o, const std::vector<uint8_t>& v) { Put(set, o, v); };
    return *this;
  }

  // An event stored in a TMethodPtr data member.
  template <class Sig>
  TClassDef& Event(const char* name, TMethodPtr<Sig> T::*member) {
    TPropInfo& p = Add(name, TTypeKind::Method);
    p.MethodType = typeid(TMethodPtr<Sig>);
    p.SetMethod = [member](TObject* o, const std::any& v) {
      static_cast<T*>(o)->*member = std::any_cast<TMethodPtr<Sig>>(v);
    };
    p.HasMethod = [member](const TObject* o) { return static_cast<bool>(static_cast<const T*>(o)->*member); };
    return *this;
  }

  // A handler that events of components on this form may name.
  template <class R, class... A>
  TClassDef& Method(const char* name, R (T::*method)(A...)) {
    TMethodInfo m;
    m.Name = name;
    m.Signature = typeid(TMethodPtr<R(A...)>);
    m.Bind = [method](TObject* instance) -> std::any {
      return TMethodPtr<R(A...)>(static_cast<T*>(instance), method);
    };
    FMethods.push_back(std::move(m));
    return *this;
  }

  // A field that the loader points at the form's component of the same name.
  template <class C>
  TClassDef& Field(const char* name, C* T::*member) {
    TFieldInfo f;
    f.Name = name;
    f.FieldClass = &C::StaticClass;
    f.Set = [member](TObject* instance, TObject* value) { static_cast<T*>(instance)->*member = dynamic_cast<C*>(value); };
    FFields.push_back(std::move(f));
    return *this;
  }

 private:
  template <class X>
  static constexpr bool IsNull = std::is_same_v<X, std::nullptr_t>;

  TPropInfo& Add(const char* name, TTypeKind kind) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    FProps.push_back(std::move(p));
    return FProps.back();
  }

  template <class G>
  static decltype(auto) Get(G get, const TObject* o) {
    static_assert(!std::is_member_object_pointer_v<G>, "a published property reads through a getter, not a data member");
    return std::invoke(get, static_cast<const T*>(o));
  }

  template <class S, class V>
  static void Put(S set, TObject* o, V&& value) {
    static_assert(!std::is_member_object_pointer_v<S>, "a published property writes through a setter, not a data member");
    std::invoke(set, static_cast<T*>(o), std::forward<V>(value));
  }
};

}  // namespace fw
