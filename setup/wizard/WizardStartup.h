// The wizard library's start-up: probes the display for the colour helpers, registers
// the classes that forms may name (the backdrop, the title labels, the dialog manager,
// the wizard host and the pages) and the page classes of each wizard, in the order of
// the page units.
#pragma once

#include "core/Startup.h"

namespace setup {

fw::TLibrary WizardLibrary();

}  // namespace setup
