// Registry routines over a root-key index: every writer of the setup program goes
// through them. Key paths may begin with "\"; they are taken from the root key.
#pragma once

#include <string>

#include "core/SysUtils.h"
#include "core/TypInfo.h"

namespace setup {

enum class TRootKeys { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };
using enum TRootKeys;
const fw::TEnumInfo& RootKeysInfo();

// A value could not be written.
FW_EXCEPTION(EIRCannotWriteValue, fw::Exception);

// Open (or create) Key and write the value. WriteRegString raises EIRCannotWriteValue
// "Cannot install into registry. Key: %s Ident: %s Value %s"; WriteRegInteger raises
// it with the key alone as its message.
void WriteRegString(TRootKeys Root, const std::string& Key, const std::string& Ident, const std::string& Value);
void WriteRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Value);
// The stored value, or Default when the key or value is missing or unreadable.
std::string ReadRegString(TRootKeys Root, const std::string& Key, const std::string& Ident, const std::string& Default);
int ReadRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Default);
// Deletes Key with everything below it; errors are swallowed. An empty path (the root
// itself) deletes nothing.
void DeleteRegKeyTree(TRootKeys Root, const std::string& Key);

}  // namespace setup
