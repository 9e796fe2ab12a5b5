// Running command lines on the server console: they are written into the command file
// "PLUD_TMP.NCF" in SYS:SYSTEM, which the server executes; the file is deleted afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "NwTypes.h"

namespace toolpage {

extern const char* const kConsoleCommandFile;  // "PLUD_TMP.NCF"

// 0 when the server executed the file; the client's code of the failed open or execution;
// -1 when the command file could not be written (nothing executed).
int32_t RunConsoleCommands(TConnRef ConnRef, const std::vector<std::string>& Lines);

}  // namespace toolpage
