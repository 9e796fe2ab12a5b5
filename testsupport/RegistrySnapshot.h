// A registry key tree saved before a test and put back exactly when the test ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Every value and subkey below Root\Path, read when made. When it goes, the tree is put
// back as it was: values and keys the test added are deleted, changed and deleted ones
// restored; a key that did not exist is deleted with everything below it, and so are
// its parents that did not exist either, when nothing else is in them.
// Path may start with a backslash ("\Software\Maker").
class TSavedRegistryTree {
 public:
  TSavedRegistryTree(HKEY Root, const std::string& Path);
  ~TSavedRegistryTree();
  TSavedRegistryTree(const TSavedRegistryTree&) = delete;
  TSavedRegistryTree& operator=(const TSavedRegistryTree&) = delete;

  // Puts the saved tree back now (the destructor does it again).
  void Restore() const;

  struct TValue {
    std::string Name;
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
  };
  struct TKey {
    std::string Name;
    std::vector<TValue> Values;
    std::vector<TKey> Subkeys;
  };

 private:
  HKEY FRoot;
  std::string FPath;
  bool FExisted = false;
  TKey FSaved;
  std::vector<std::string> FMissingParents;  // the deepest first
};

// Some values of one key, for a key that other programs use at the same time (restoring
// its whole tree would undo their changes): each named value comes back as it was, or is
// deleted when it was not there. The key itself is left in place.
class TSavedRegistryValues {
 public:
  TSavedRegistryValues(HKEY Root, const std::string& Path, const std::vector<std::string>& Names);
  ~TSavedRegistryValues();
  TSavedRegistryValues(const TSavedRegistryValues&) = delete;
  TSavedRegistryValues& operator=(const TSavedRegistryValues&) = delete;

 private:
  struct TSaved {
    std::string Name;
    bool Existed = false;
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
  };
  HKEY FRoot;
  std::string FPath;
  std::vector<TSaved> FValues;
};

// Writes the text value Name of Root\Key, making the key when missing; throws
// std::runtime_error when it cannot.
void WriteRegistryText(HKEY Root, const std::string& Key, const std::string& Name, const std::string& Value);

// Deletes Root\Path with all its subkeys and values; true when it is gone (or was not there).
bool DeleteRegistryTree(HKEY Root, const std::string& Path);

}  // namespace testsupport
