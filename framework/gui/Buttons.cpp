#include "Buttons.h"

#include "core/ClassDef.h"

namespace fw {

const TClass& TBitBtn::StaticClass() {
  static const TClass cls = TClassDef<TBitBtn>().Creatable();
  return cls;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

}  // namespace fw
