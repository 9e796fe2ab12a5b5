// The installable-object library's start-up (objects and path specifiers are one
// library): creates the global lists of its units and registers the classes that the
// main form's resource may name, the path specifiers in the order of the class list.
#pragma once

#include "core/Startup.h"

namespace setup {

fw::TLibrary ObjectsLibrary();

// The units, in the order the library starts them (it stops them in reverse).
void StartInstallLists();
void StopInstallLists();
void StartInstallRegistryUnit();
void StopInstallRegistryUnit();
void StartPathSpecifierUnit();
void StopPathSpecifierUnit();

}  // namespace setup
