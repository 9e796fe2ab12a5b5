#include "LoadedMain.h"

namespace setup::testing {

TLoadedMain LoadMain() {
  TLoadedMain form(new TMain(nullptr));
  form->InitFromResource();
  return form;
}

}  // namespace setup::testing
