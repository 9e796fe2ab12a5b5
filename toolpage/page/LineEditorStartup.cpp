#include "LineEditorStartup.h"

#include "ComboBox.h"
#include "KavelComboBox.h"
#include "PopUpListBox.h"
#include "ScrList.h"

namespace toolpage {

fw::TLibrary LineEditorLibrary() {
  return {"Line editor",
          [] {
            fw::RegisterClasses({&TComboBox98::StaticClass(), &TPopUpListBox::StaticClass(),
                                 &TKavelComboBox::StaticClass(), &TScrList::StaticClass()});
          },
          [] {}};
}

}  // namespace toolpage
