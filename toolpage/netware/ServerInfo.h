// What the page asks about a server: its name, its version and its loaded modules.
// Each routine opens its own connection handle from the reference where it needs one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "NwTypes.h"
#include "core/Strings.h"

namespace toolpage {

// The server's name from the connection information; empty when it cannot be read.
std::string GetServerName(TConnRef ConnRef);
// The server's SYS:SYSTEM folder as a UNC path with Name after it ("\\SRV1\SYS\SYSTEM\A.OKS";
// an empty Name leaves the final "\"). Raises TNWException when the server's name cannot
// be read or is no plain name, instead of naming a folder of this machine.
std::string ServerSystemUNC(TConnRef ConnRef, const std::string& Name = "");
// major * 100 + minor (3.12 gives 312); 0 when the information cannot be read.
int32_t GetServerVersion(TConnRef ConnRef);
// False when the information cannot be read.
bool IsServerVersionAtLeast(TConnRef ConnRef, uint32_t Major, uint32_t Minor);

struct TLoadedNlm {
  std::string FileName;  // upper-case
  uint32_t Number = 0;   // the server's module number (before 4.10: the index)
};
// The loaded modules: from 4.10 on through the client's module list (each name once),
// before through the base module's information request (indexes 0 to 200).
std::vector<TLoadedNlm> GetLoadedNlmList(TConnRef ConnRef);
// The same into List (cleared first): the names, each with its number as its object.
void GetLoadedNlms(TConnRef ConnRef, fw::TStrings& List);
uint32_t LoadedNlmNumber(const fw::TStrings& List, int Index);
// Name upper-cased, without directory, ".NLM" added when it has no extension.
bool IsNlmLoaded(TConnRef ConnRef, const std::string& Name);

}  // namespace toolpage
