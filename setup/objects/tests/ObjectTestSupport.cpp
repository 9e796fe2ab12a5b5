#include "ObjectTestSupport.h"

namespace setup::testing {

const fw::TClass& TTestObject::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TTestObject>("TTestObject", &TInstallObject::StaticClass());
  return cls;
}
const fw::TClass& TRelayObject::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TRelayObject>("TRelayObject", &TTestObject::StaticClass());
  return cls;
}
const fw::TClass& TInstallBDE::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TInstallBDE>("TInstallBDE", &TTestObject::StaticClass());
  return cls;
}
const fw::TClass& TTestEngine::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TTestEngine>("TTestEngine", &TTestObject::StaticClass());
  return cls;
}

}  // namespace setup::testing
