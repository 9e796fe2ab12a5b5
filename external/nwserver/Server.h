// Operations of the simulated server shared by the entry points.
#pragma once

#include <cstdint>
#include <string>

#include "Config.h"
#include "Session.h"
#include "Volumes.h"

namespace nwsim {

// Base module name of a module file ("VX4LIB" of "SYS:SYSTEM\VX4LIB.312").
std::string ModuleBaseName(const std::string& pathOrName);
// The NCP extension a loaded module registers; empty when it registers none.
std::string ExtensionOfModule(const std::string& baseName);
// The extension's identifier on this server (0 when the name is not one of the product's).
uint32_t ExtensionId(const std::string& name);
std::string ExtensionName(uint32_t id);
bool IsModuleLoaded(const TState& state, const std::string& baseName);

// A module loads when its file's "server" line does not ask for a newer server and every
// module of its "needs" lines is loaded; it unloads when no loaded module needs it. A
// refusal is noted in the console log.
uint32_t LoadModuleFile(const TConfig& config, TStateSession& session, const std::string& path);
uint32_t UnloadModuleByName(const TConfig& config, TStateSession& session, const std::string& name);
// Runs an NCF file line by line as the server console would.
uint32_t RunNcfFile(const TConfig& config, TStateSession& session, const std::string& path);

// Requests to the product's extensions; the reply length is in/out as the client passes it.
uint32_t HandleStd4(const TConfig& config, const uint8_t* request, uint32_t length, uint8_t* reply, uint16_t* replyLen);
uint32_t HandleRemoteProcedure(const TConfig& config, uint32_t conn, uint32_t extension, const uint8_t* request,
                               uint32_t length, uint8_t* reply, uint16_t* replyLen);

// Fills a 344-byte entry information block (attributes at 4, name length at 84, name at 85).
void FillEntryInfo(uint8_t* info, const std::string& name, uint32_t attributes);

}  // namespace nwsim
