// TqnlkRegistry: a registry object with a root key, one current key and its path, and
// the key-opening rules of the setup program. Key paths that begin with "\" are taken
// from the root key; any other path (the empty one too) from the current key when one
// is open, else from the root. Every handle it opens is closed by the object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/SysUtils.h"

// The header stays free of windows.h: its users include gui/WinHandles.h where they
// take a key handle.
struct HKEY__;
typedef struct HKEY__* HKEY;
namespace fw {
template <class Traits>
class TUniqueHandle;
namespace handle_traits {
struct RegKey;
}
using TRegKeyHandle = TUniqueHandle<handle_traits::RegKey>;
}  // namespace fw

namespace setup {

// A registry operation of a registry object failed (a value could not be read or set).
FW_EXCEPTION(ERegistryException, fw::Exception);
// A root index outside TRootKeys.
FW_EXCEPTION(EIRBadRootKey, fw::Exception);

class TqnlkRegistry {
 public:
  // The root starts as HKEY_CURRENT_USER.
  TqnlkRegistry();
  ~TqnlkRegistry();
  TqnlkRegistry(const TqnlkRegistry&) = delete;
  TqnlkRegistry& operator=(const TqnlkRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Closes the current key.
  void SetRootKey(HKEY Value);
  HKEY CurrentKey() const;
  const std::string& CurrentPath() const { return FCurrentPath; }
  // When off, closing a key flushes what was written to it.
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool Value) { FLazyWrite = Value; }

  // Makes Path the current key for reading and writing. An existing key is opened
  // with read and write access, never full access; a missing one is created when
  // CanCreate.
  bool OpenKey(const std::string& Path, bool CanCreate);
  // Makes Path the current key for reading only: what readers use, so that a user
  // who may not write the key still reads its values.
  bool OpenKeyReadOnly(const std::string& Path);
  void CloseKey();
  bool KeyExistsReadOnly(const std::string& Path) const;
  // A handle of their own (full access or read access), nil handle when the key
  // cannot be opened; the current key stays as it is.
  fw::TRegKeyHandle OpenKeyHandle(const std::string& Path) const;
  fw::TRegKeyHandle OpenKeyHandleReadOnly(const std::string& Path) const;
  // Deletes Path and every subkey below it, at every depth. True when the key itself
  // was deleted.
  bool DeleteKeyTree(const std::string& Path);

  // The names of the current key's subkeys; empty without a current key.
  std::vector<std::string> GetKeyNames() const;
  bool ValueExists(const std::string& Name) const;
  // Raise ERegistryException when there is no current key, the value is missing or
  // of another kind, or the write fails.
  std::string ReadString(const std::string& Name) const;
  int ReadInteger(const std::string& Name) const;
  void WriteString(const std::string& Name, const std::string& Value);
  void WriteInteger(const std::string& Name, int Value);
  // An integer value, 1 or 0.
  void WriteBool(const std::string& Name, bool Value);

 private:
  // The key a path is taken from, and the path as the system wants it.
  HKEY BaseKey(const std::string& Path) const;
  static bool IsRelativeKey(const std::string& Path) { return Path.empty() || Path[0] != '\\'; }
  bool OpenCurrent(const std::string& Path, bool CanCreate, bool ReadOnly);
  void ChangeKey(fw::TRegKeyHandle Key, const std::string& Path);
  void WriteValue(const std::string& Name, unsigned long Type, const void* Data, unsigned long Size);

  HKEY FRootKey;
  std::unique_ptr<fw::TRegKeyHandle> FCurrentKey;  // never nil; empty without a current key
  std::string FCurrentPath;
  bool FLazyWrite = true;
};

// The TRootKeys index of a predefined root key, Default for any other handle.
int RootKeyToIndex(HKEY Handle, int Default);
// The predefined root key of an index; raises EIRBadRootKey outside TRootKeys.
HKEY RootKeyFromIndex(int Index);
// Sets the registry object's root from an index; raises EIRBadRootKey outside TRootKeys.
void SetRootKeyIndex(TqnlkRegistry& Registry, int Index);
// The name of a root key index ("HKEY_LOCAL_MACHINE"); "?" outside TRootKeys.
std::string RootKeyName(int Index);
// Whether Path (without a leading backslash) below the root of Index is not there. A key
// that cannot be opened may well exist, so only "not found" counts; a link is not followed.
bool RegistryKeyMissing(int Index, const std::string& Path);

}  // namespace setup
