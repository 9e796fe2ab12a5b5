// Saving a registry tree recursively and putting it back by difference, so that keys
// nobody touched are left alone.
#include "RegistrySnapshot.h"

#include <algorithm>
#include <stdexcept>

#include "gui/WinHandles.h"

namespace testsupport {

namespace {

using TKey = TSavedRegistryTree::TKey;
using TValue = TSavedRegistryTree::TValue;

std::string WithoutLeadingBackslash(const std::string& Path) {
  return !Path.empty() && Path.front() == '\\' ? Path.substr(1) : Path;
}

std::vector<std::string> SubkeyNames(HKEY Key) {
  std::vector<std::string> names;
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return names;
  std::vector<char> name(longest + 2);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExA(Key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), length);
  }
  return names;
}

std::vector<TValue> ReadValues(HKEY Key) {
  std::vector<TValue> values;
  DWORD longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &longestData,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return values;
  std::vector<char> name(longestName + 2);
  std::vector<BYTE> data(longestData + 2);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    if (RegEnumValueA(Key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) != ERROR_SUCCESS)
      break;
    values.push_back(
        {std::string(name.data(), nameLength), type, std::vector<BYTE>(data.begin(), data.begin() + dataLength)});
  }
  return values;
}

TKey ReadTree(HKEY Key, const std::string& Name) {
  TKey saved{Name, ReadValues(Key), {}};
  for (const std::string& subkeyName : SubkeyNames(Key)) {
    fw::TRegKeyHandle subkey;
    if (RegOpenKeyExA(Key, subkeyName.c_str(), 0, KEY_READ, subkey.Put()) == ERROR_SUCCESS)
      saved.Subkeys.push_back(ReadTree(subkey.Get(), subkeyName));
  }
  return saved;
}

bool SameText(const std::string& A, const std::string& B) {
  return A.size() == B.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, A.data(), static_cast<int>(A.size()),
                                                B.data(), static_cast<int>(B.size())) == CSTR_EQUAL;
}

void DeleteSubtree(HKEY Parent, const std::string& Name) {
  {
    fw::TRegKeyHandle key;
    if (RegOpenKeyExA(Parent, Name.c_str(), 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) return;
    for (const std::string& subkey : SubkeyNames(key.Get())) DeleteSubtree(key.Get(), subkey);
  }
  RegDeleteKeyA(Parent, Name.c_str());
}

// Makes the open key hold exactly what Saved holds.
void RestoreTree(HKEY Key, const TKey& Saved) {
  for (const TValue& now : ReadValues(Key)) {
    auto kept = std::find_if(Saved.Values.begin(), Saved.Values.end(),
                             [&](const TValue& v) { return SameText(v.Name, now.Name); });
    if (kept == Saved.Values.end()) RegDeleteValueA(Key, now.Name.c_str());
  }
  for (const TValue& value : Saved.Values)
    RegSetValueExA(Key, value.Name.c_str(), 0, value.Type, value.Data.data(), static_cast<DWORD>(value.Data.size()));
  for (const std::string& now : SubkeyNames(Key))
    if (std::none_of(Saved.Subkeys.begin(), Saved.Subkeys.end(), [&](const TKey& k) { return SameText(k.Name, now); }))
      DeleteSubtree(Key, now);
  for (const TKey& subkey : Saved.Subkeys) {
    fw::TRegKeyHandle opened;
    if (RegCreateKeyExA(Key, subkey.Name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, opened.Put(), nullptr) ==
        ERROR_SUCCESS)
      RestoreTree(opened.Get(), subkey);
  }
}

}  // namespace

TSavedRegistryTree::TSavedRegistryTree(HKEY Root, const std::string& Path)
    : FRoot(Root), FPath(WithoutLeadingBackslash(Path)) {
  fw::TRegKeyHandle key;
  FExisted = RegOpenKeyExA(FRoot, FPath.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
  if (FExisted) {
    FSaved = ReadTree(key.Get(), FPath);
    return;
  }
  // The parents that are missing too: making the key makes them, so they go again.
  for (std::string parent = FPath; parent.find('\\') != std::string::npos;) {
    parent.erase(parent.find_last_of('\\'));
    fw::TRegKeyHandle existing;
    if (RegOpenKeyExA(FRoot, parent.c_str(), 0, KEY_READ, existing.Put()) == ERROR_SUCCESS) break;
    FMissingParents.push_back(parent);
  }
}

TSavedRegistryTree::~TSavedRegistryTree() {
  Restore();
}

void TSavedRegistryTree::Restore() const {
  if (!FExisted) {
    DeleteRegistryTree(FRoot, FPath);
    // The deepest first; one that now holds something else stays.
    for (const std::string& parent : FMissingParents) RegDeleteKeyA(FRoot, parent.c_str());
    return;
  }
  fw::TRegKeyHandle key;
  if (RegCreateKeyExA(FRoot, FPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) ==
      ERROR_SUCCESS)
    RestoreTree(key.Get(), FSaved);
}

TSavedRegistryValues::TSavedRegistryValues(HKEY Root, const std::string& Path, const std::vector<std::string>& Names)
    : FRoot(Root), FPath(WithoutLeadingBackslash(Path)) {
  fw::TRegKeyHandle key;
  bool opened = RegOpenKeyExA(FRoot, FPath.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
  for (const std::string& name : Names) {
    TSaved saved{name};
    DWORD size = 0;
    saved.Existed =
        opened && RegQueryValueExA(key.Get(), name.c_str(), nullptr, &saved.Type, nullptr, &size) == ERROR_SUCCESS;
    if (saved.Existed) {
      saved.Data.resize(size);
      RegQueryValueExA(key.Get(), name.c_str(), nullptr, &saved.Type, saved.Data.data(), &size);
      saved.Data.resize(size);
    }
    FValues.push_back(saved);
  }
}

TSavedRegistryValues::~TSavedRegistryValues() {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(FRoot, FPath.c_str(), 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) return;
  for (const TSaved& value : FValues) {
    if (value.Existed)
      RegSetValueExA(key.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                     static_cast<DWORD>(value.Data.size()));
    else
      RegDeleteValueA(key.Get(), value.Name.c_str());
  }
}

void WriteRegistryText(HKEY Root, const std::string& Key, const std::string& Name, const std::string& Value) {
  fw::TRegKeyHandle key;
  if (RegCreateKeyExA(Root, WithoutLeadingBackslash(Key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(),
                      nullptr) != ERROR_SUCCESS ||
      RegSetValueExA(key.Get(), Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                     static_cast<DWORD>(Value.size() + 1)) != ERROR_SUCCESS)
    throw std::runtime_error("cannot write the registry value " + Key + "\\" + Name);
}

bool DeleteRegistryTree(HKEY Root, const std::string& Path) {
  std::string path = WithoutLeadingBackslash(Path);
  DeleteSubtree(Root, path);
  fw::TRegKeyHandle key;
  return RegOpenKeyExA(Root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS;
}

}  // namespace testsupport
