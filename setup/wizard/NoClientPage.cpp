#include "NoClientPage.h"

#include "ClientProbe.h"
#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TNoClientFound::StaticClass() {
  using T = TNoClientFound;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Field("TranslateLabel1", &T::TranslateLabel1)
                                    .Field("TranslateLabel2", &T::TranslateLabel2)
                                    .Field("AbortBtn", &T::AbortBtn);
  return cls;
}

TNoClientFound::TNoClientFound(fw::TComponent* AOwner) : TWizardPage(AOwner, dmBeforeInstall, 0) {}

bool TNoClientFound::SkipPage() {
  return IsClient32Installed();
}

void TNoClientFound::ProceedBtnClick(fw::TObject*) {
  Cancel();
}

}  // namespace setup
