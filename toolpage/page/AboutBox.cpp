#include "AboutBox.h"

#include "core/ClassDef.h"

namespace toolpage {

const fw::TClass& TAboutBox::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TAboutBox>().Creatable();
  return cls;
}

}  // namespace toolpage
