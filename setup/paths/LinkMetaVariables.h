// The meta variables of shortcut texts, with their values: the folders of the shortcut,
// its container and the installation, and the shell and system folders.
#pragma once

#include <string>

#include "support/Errors.h"

namespace setup {

class TInstallObject;

FW_EXCEPTION(EAICannotExpandContainerDirMV, EAI);
FW_EXCEPTION(EAICannotExpandInstallDirMV, EAI);

// Expands %a (the link's folder), %b (Programs menu), %c (the link's container's
// folder), %d (Desktop), %f (Common Files), %i (installation folder), %m (Start menu),
// %p (Program Files), %s (System), %w (Windows) and "%%"; any other letter gives
// nothing, "%" before anything but a letter is kept. Link (the shortcut) may be nil
// until %a or %c is asked for; %i needs the engine.
std::string ExpandMetaVariables(const std::string& Text, TInstallObject* Link);

}  // namespace setup
