// The archive library's start-up: registers the components its forms may name.
#pragma once

#include "core/Startup.h"

namespace setup {

fw::TLibrary ArchiveLibrary();

}  // namespace setup
