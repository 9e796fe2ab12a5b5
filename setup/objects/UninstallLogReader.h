// The one reader of a product's uninstall log in the registry: the installation reads it
// before it adds to it, the uninstaller before it removes what it names. The product's key
// is read without following a registry link in it (a link there is left out), then parsed
// by the log's portable parser (UninstallLogFormat.h).
#pragma once

#include <string>

#include "UninstallLogFormat.h"

namespace setup {

// The parent of every product's uninstall key (below HKEY_LOCAL_MACHINE), without the
// leading backslash.
inline constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The log below UninstallKey (below HKEY_LOCAL_MACHINE; a leading "\" is ignored). Found
// is false when the key is missing; a key that is itself a link is found, with nothing
// logged in it.
TUninstallLog ReadUninstallLog(const std::string& UninstallKey);

}  // namespace setup
