#include "TranslatorControls.h"

#include "core/ClassDef.h"

namespace setup {

using namespace fw;

const TClass& TTranslateLabel::StaticClass() {
  using T = TTranslateLabel;
  static const TClass cls =
      TClassDef<T>().Creatable().Integer("GLID", &T::GLID, &T::SetGLID);
  return cls;
}

const TClass& TTranslateBitBtn::StaticClass() {
  using T = TTranslateBitBtn;
  static const TClass cls =
      TClassDef<T>().Creatable().Integer("GLID", &T::GLID, &T::SetGLID);
  return cls;
}

}  // namespace setup
