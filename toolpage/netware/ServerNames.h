// Names as the server stores them (OEM characters) and as the page shows them (ANSI), and
// server paths in the UNC form through which Windows reaches the server's files.
#pragma once

#include <string>

#include "NwTypes.h"

namespace toolpage {

// Same length, character by character.
std::string OemToAnsiStr(const std::string& S);
std::string AnsiToOemStr(const std::string& S);

// "SYS:SYSTEM" gives "\\SRV1\SYS\SYSTEM" on a server named SRV1, in ANSI characters. A UNC
// path, a drive path or handle 0 stay unchanged. Raises TNWException when the server's
// name cannot be read.
std::string ServerPathToUNCByHandle(TConnHandle Conn, const std::string& Path);
// The same on a reference; a path naming its server ("SRV2/SYS:X") is split by the client,
// which connects to that server. Unchanged when no handle can be opened or the client
// cannot split the path.
std::string ServerPathToUNC(TConnRef ConnRef, const std::string& Path);

}  // namespace toolpage
