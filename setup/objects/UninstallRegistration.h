// Taking back the COM registration of a file the installation registered: a library's
// DllUnregisterServer, a program's "/UnregServer", a type library's registration. The
// caller holds the file (THeldFile) while it is loaded or run, so that it stays the file
// that was judged.
#pragma once

#include <string>

namespace setup {

// Unregisters the file at Path as Kind ('0' library, '1' program, '2' type library,
// UninstallLogFormat.h); false when that failed or the file did not say it succeeded.
bool UnregisterFile(const std::string& Path, char Kind);

}  // namespace setup
