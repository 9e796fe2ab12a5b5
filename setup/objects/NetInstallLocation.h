// The net install location interface lives with the location itself in the support
// library.
#pragma once

#include "InstallContainer.h"
#include "support/NetLocationInterface.h"
