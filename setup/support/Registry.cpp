#include "Registry.h"

#include "OSVersion.h"
#include "RegistryObject.h"

namespace setup {

namespace {

// A registry object on the root of the index.
class TRootRegistry : public TqnlkRegistry {
 public:
  explicit TRootRegistry(TRootKeys Root) { SetRootKeyIndex(*this, static_cast<int>(Root)); }
};

// Opens the key for reading only; false when it is missing or unreadable.
bool OpenForReading(TqnlkRegistry& Registry, const std::string& Key, const std::string& Ident) {
  return Registry.KeyExistsReadOnly(Key) && Registry.OpenKeyReadOnly(Key) && Registry.ValueExists(Ident);
}

}  // namespace

const fw::TEnumInfo& RootKeysInfo() {
  static const fw::TEnumInfo info{
      "TRootKeys", {"hkClassesRoot", "hkCurrentConfig", "hkCurrentUser", "hkDynData", "hkLocalMachine", "hkUsers"}};
  return info;
}

void WriteRegString(TRootKeys Root, const std::string& Key, const std::string& Ident, const std::string& Value) {
  TRootRegistry registry(Root);
  const std::string message = fw::Format("Cannot install into registry. Key: %s Ident: %s Value %s", Key, Ident, Value);
  if (!registry.OpenKey(Key, true)) throw EIRCannotWriteValue(message);
  try {
    registry.WriteString(Ident, Value);
  } catch (const ERegistryException&) {
    throw EIRCannotWriteValue(message);
  }
}

void WriteRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Value) {
  TRootRegistry registry(Root);
  if (!registry.OpenKey(Key, true)) throw EIRCannotWriteValue(Key);
  try {
    registry.WriteInteger(Ident, Value);
  } catch (const ERegistryException&) {
    throw EIRCannotWriteValue(Key);
  }
}

std::string ReadRegString(TRootKeys Root, const std::string& Key, const std::string& Ident,
                          const std::string& Default) {
  TRootRegistry registry(Root);
  if (!OpenForReading(registry, Key, Ident)) return Default;
  try {
    return registry.ReadString(Ident);
  } catch (const ERegistryException&) {
    return Default;
  }
}

int ReadRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Default) {
  TRootRegistry registry(Root);
  if (!OpenForReading(registry, Key, Ident)) return Default;
  try {
    return registry.ReadInteger(Ident);
  } catch (const ERegistryException&) {
    return Default;
  }
}

void DeleteRegKeyTree(TRootKeys Root, const std::string& Key) {
  TRootRegistry registry(Root);
  // An empty path would name the root key itself: never delete a whole root.
  if (Key.empty() || Key == "\\") return;
  // An absolute path: the registry object has no current key while it deletes.
  registry.DeleteKeyTree(Key[0] == '\\' ? Key : "\\" + Key);
}

TRootKeys RunOnceRoot() {
  return OSNTFamily.Contains(GetOSVersion()) ? hkCurrentUser : hkLocalMachine;
}

bool AddRunOnceValue(const std::string& Name, const std::string& Command, bool Unique) {
  TRootRegistry registry(RunOnceRoot());
  if (!registry.OpenKey(kRunOnceKey, true)) return false;
  std::string name = Name;
  for (int suffix = 1; Unique && registry.ValueExists(name); ++suffix) name = Name + std::to_string(suffix);
  try {
    registry.WriteString(name, Command);
    registry.SetLazyWrite(false);
    registry.CloseKey();
  } catch (const ERegistryException&) {
    return false;
  }
  return true;
}

}  // namespace setup
