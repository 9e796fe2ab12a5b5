// Registry routines over a root-key index: every writer of the setup program goes
// through them. Key paths may begin with "\"; they are taken from the root key. Each
// routine uses a registry object of its own; no key stays open between calls.
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
// it with the key alone as its message. A root outside TRootKeys raises EIRBadRootKey.
void WriteRegString(TRootKeys Root, const std::string& Key, const std::string& Ident, const std::string& Value);
void WriteRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Value);
// The stored value, or Default when the key or value is missing or unreadable. The key
// is opened for reading only. A root outside TRootKeys raises EIRBadRootKey.
std::string ReadRegString(TRootKeys Root, const std::string& Key, const std::string& Ident, const std::string& Default);
int ReadRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Default);
// Deletes Key with every subkey at every depth; errors are swallowed. An empty path
// (the root itself) deletes nothing.
void DeleteRegKeyTree(TRootKeys Root, const std::string& Key);

// The key of the values that run once after the next restart.
inline constexpr char kRunOnceKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
// The root of the RunOnce values on the running Windows: the user's on the NT family,
// the machine's on every other version.
TRootKeys RunOnceRoot();
// Writes Command as the RunOnce value Name. With Unique, an existing Name is kept and
// the first free one of Name1, Name2, ... is taken. False when the key cannot be opened
// or the value not written.
bool AddRunOnceValue(const std::string& Name, const std::string& Command, bool Unique);

}  // namespace setup
