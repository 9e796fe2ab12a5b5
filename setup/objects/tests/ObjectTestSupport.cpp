#include "ObjectTestSupport.h"

namespace setup::testing {

const fw::TClass& TTestObject::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TTestObject>();
  return cls;
}
const fw::TClass& TRelayObject::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TRelayObject>();
  return cls;
}
const fw::TClass& TInstallBDE::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TInstallBDE>();
  return cls;
}
const fw::TClass& TTestEngine::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TTestEngine>();
  return cls;
}

const fw::TClass& TMirror::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TMirror>().Creatable();
  return cls;
}

void RegisterMirrorClass() {
  if (fw::GetClass("TMirror") == nullptr) fw::RegisterClasses({&TMirror::StaticClass()});
}

}  // namespace setup::testing
