// The wizard library's start-up: probes the display for the colour helpers and
// registers the classes that forms may name (the backdrop and the title labels).
#pragma once

#include "core/Startup.h"

namespace setup {

fw::TLibrary WizardLibrary();

}  // namespace setup
