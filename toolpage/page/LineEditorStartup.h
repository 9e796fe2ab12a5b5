// The line editor's start-up: registers its controls by name, so that a form resource
// may name them (TComboBox98, TPopUpListBox, TKavelComboBox, TScrList). Starts after the
// framework's GUI.
#pragma once

#include "core/Startup.h"

namespace toolpage {

fw::TLibrary LineEditorLibrary();

}  // namespace toolpage
