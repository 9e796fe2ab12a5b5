#include "MainForm.h"

#include "archive/QnlkCompress.h"
#include "core/ClassDef.h"
#include "objects/InstallLists.h"

namespace setup {

using namespace fw;

const TClass& TMain::StaticClass() {
  static const TClass cls = TClassDef<TMain>()
                                .Creatable()
                                .Field("BackDrop", &TMain::BackDrop)
                                .Field("oxLabel1", &TMain::oxLabel1)
                                .Field("ProductLabel", &TMain::ProductLabel)
                                .Field("Label1", &TMain::Label1)
                                .Method("FormShow", &TMain::FormShow);
  return cls;
}

void TMain::FormShow(TObject*) {
  SetWidth(0);
  SetHeight(0);
}

TLibrary AppLibrary() {
  return {"setup application",
          [] {
            RegisterClasses({&TMain::StaticClass()});
            // Long archive work keeps the windows answering.
            SharedArchive()->SetIdleHandler([] { Application->ProcessMessages(); });
          },
          // The forms go while the libraries they use still run.
          [] { Application->DestroyComponents(); }};
}

}  // namespace setup
