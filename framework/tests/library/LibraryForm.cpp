#include "LibraryForm.h"

#include "core/ClassDef.h"

const fw::TClass& TLibraryForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TLibraryForm>().Creatable();
  return cls;
}
