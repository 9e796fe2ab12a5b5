// Whether the NetWare client for 32-bit Windows is installed and usable: its library
// loads, exports the client initialisation entry (ordinal 377) and that entry answers 0.
#pragma once

#include <string>

namespace setup {

// The answer of the first probe of "CALWIN32.DLL", kept for the rest of the run.
bool IsClient32Installed();
// Probes the library now; never raises (every failure means no client).
bool ProbeClient32(const std::string& LibraryName);
// Forgets the kept answer, so that the next IsClient32Installed probes LibraryName.
void ResetClient32Probe(const std::string& LibraryName = "CALWIN32.DLL");

}  // namespace setup
