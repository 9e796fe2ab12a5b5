// The engine library's start-up: registers TInstall and its build settings for the
// forms that name them.
#pragma once

#include "core/Startup.h"

namespace setup {

fw::TLibrary EngineLibrary();

}  // namespace setup
