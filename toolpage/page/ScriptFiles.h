// Console scripts on the server: their UNC path, the encoded test, new scripts and delete.
#pragma once

#include <string>

#include "NwTypes.h"

namespace toolpage {

// "\\" + server name + "\SYS\SYSTEM\" + Name; raises TNWException when the server has no readable name.
std::string ScriptUNCPath(TConnRef ConnRef, const std::string& Name);

// True when the script is encoded (locked): not empty and its first byte 0. An empty or
// unreadable file counts as plain.
bool IsScriptEncoded(TConnRef ConnRef, const std::string& Name);

// The first free name of NEW.OKS, NEW(1).OKS ... NEW(999).OKS in SYS:SYSTEM, created with a
// screen line for the system console; a failure to create the file is not reported. When
// every name is taken, raises fw::Exception (FirstFreeNewScriptName) and creates nothing.
std::string CreateNewScript(TConnRef ConnRef);

// Deletes SYS:SYSTEM\Name (OEM characters) after clearing its read-only, transactional and
// delete-inhibit attributes ("Error setting attribute of\r<path>" when that is refused); in
// the DOS name space when the volume has no long names. Nothing when no handle can be opened.
void DeleteScript(TConnRef ConnRef, const std::string& Name);

}  // namespace toolpage
