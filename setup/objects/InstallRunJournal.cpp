#include "InstallRunJournal.h"

#include <windows.h>
// after windows.h
#include <objbase.h>

#include <algorithm>

#include "FileRegistration.h"
#include "InstallEngine.h"
#include "UninstallRemoval.h"
#include "archive/ArchiveText.h"
#include "archive/FileSystem.h"
#include "gui/WinHandles.h"
#include "support/FileHandles.h"
#include "support/RegistryLinks.h"
#include "support/FileAttributes.h"
#include "support/PathStrings.h"
#include "support/Registry.h"
#include "support/RegistryObject.h"

namespace setup {

// A registry key with its values and subkeys, as read.
struct TRegistrySnapshot {
  struct TValue {
    std::string Name;
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
  };
  std::vector<TValue> Values;
  std::vector<std::pair<std::string, TRegistrySnapshot>> Subkeys;
};

// A registry value as it was before the run changed it.
struct TInstallRunJournal::TValueBefore {
  int Root;
  std::string Key;
  std::string Name;
  bool Existed = false;
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
};

namespace {

constexpr int kMaxSnapshotDepth = 8;

fw::TRegKeyHandle OpenKey(HKEY Root, const std::string& Path, REGSAM Access) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(Root, Path.c_str(), 0, Access, key.Put()) != ERROR_SUCCESS) return fw::TRegKeyHandle();
  return key;
}

// Reads the open Key into Into, a few levels deep at most (as the uninstall key is).
void ReadTree(HKEY Key, TRegistrySnapshot& Into, int Depth) {
  DWORD subkeys = 0, values = 0, longestName = 0, longestData = 0, longestSubkey = 0;
  if (RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::string name(longestName + 2, '\0');
  std::vector<BYTE> data(longestData + 2);
  for (DWORD i = 0; i < values; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueA(Key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) continue;
    Into.Values.push_back({name.substr(0, nameLength), type, std::vector<BYTE>(data.begin(), data.begin() + size)});
  }
  if (Depth >= kMaxSnapshotDepth) return;
  std::string subkey(longestSubkey + 2, '\0');
  for (DWORD i = 0; i < subkeys; ++i) {
    DWORD length = static_cast<DWORD>(subkey.size());
    if (RegEnumKeyExA(Key, i, subkey.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
    std::string child = subkey.substr(0, length);
    fw::TRegKeyHandle handle = OpenKey(Key, child, KEY_READ);
    if (!handle) continue;
    TRegistrySnapshot snapshot;
    ReadTree(handle.Get(), snapshot, Depth + 1);
    Into.Subkeys.emplace_back(child, std::move(snapshot));
  }
}

// Writes Tree as the key Path (created, then filled); false when a part could not be written.
bool WriteTree(const std::string& Path, const TRegistrySnapshot& Tree) {
  fw::TRegKeyHandle key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  bool written = true;
  for (const auto& value : Tree.Values)
    written &= RegSetValueExA(key.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                              static_cast<DWORD>(value.Data.size())) == ERROR_SUCCESS;
  for (const auto& [name, subkey] : Tree.Subkeys) written &= WriteTree(Path + "\\" + name, subkey);
  return written;
}

std::string WithoutLeadingBackslash(const std::string& Key) {
  return !Key.empty() && Key[0] == '\\' ? Key.substr(1) : Key;
}

}  // namespace

TInstallRunJournal::TInstallRunJournal(std::string UninstallKey) : FUninstallKey(std::move(UninstallKey)) {
  fw::TRegKeyHandle key = OpenKey(HKEY_LOCAL_MACHINE, WithoutLeadingBackslash(FUninstallKey), KEY_READ);
  if (!key) return;
  FUninstallKeyBefore = std::make_unique<TRegistrySnapshot>();
  ReadTree(key.Get(), *FUninstallKeyBefore, 0);
}

TInstallRunJournal::~TInstallRunJournal() = default;

void TInstallRunJournal::NoteFolder(const std::string& Path) {
  // The files of a folder come one after another: its first noted it.
  if (fw::SameText(Path, FLastFolder)) return;
  FLastFolder = Path;
  std::string existing = RemoveTrailingBackslash(Path);
  while (!existing.empty() && !FolderExists(existing)) {
    const std::string parent = RemoveTrailingBackslash(ExtractFilePath(existing));
    if (parent.size() >= existing.size()) return;  // a root that is missing
    if (std::none_of(FCreatedFolders.begin(), FCreatedFolders.end(),
                     [&](const std::string& created) { return fw::SameText(created, existing); }))
      FCreatedFolders.push_back(existing);
    existing = parent;
  }
  // What the run made itself is no folder of before.
  const auto same = [&](const std::string& folder) { return fw::SameText(folder, existing); };
  if (std::any_of(FCreatedFolders.begin(), FCreatedFolders.end(), same) ||
      std::any_of(FFoldersBefore.begin(), FFoldersBefore.end(), same))
    return;
  FFoldersBefore.push_back(existing);
}

void TInstallRunJournal::NoteCreatedFile(const std::string& Path, bool Shared) {
  FCreatedFiles.push_back(Path);
  if (Shared) FCreatedShared.push_back(Path);
}

void TInstallRunJournal::NoteCreatedActiveXFile(const std::string& Path, char Kind, bool Shared) {
  FCreatedActiveX.push_back(Path + ";" + std::string(1, Kind));
  if (Shared) FCreatedShared.push_back(Path);
}

void TInstallRunJournal::NoteSharedCount(const std::string& Name, std::optional<uint32_t> Before) {
  for (const auto& noted : FSharedCountsBefore)
    if (fw::SameText(noted.first, Name)) return;
  FSharedCountsBefore.emplace_back(Name, Before);
}

void TInstallRunJournal::NoteValueBefore(int Root, const std::string& Key, const std::string& Name) {
  for (const TValueBefore& noted : FValuesBefore)
    if (noted.Root == Root && fw::SameText(noted.Key, Key) && fw::SameText(noted.Name, Name)) return;
  TValueBefore before{Root, Key, Name};
  if (fw::TRegKeyHandle key = OpenKey(RootKeyFromIndex(Root), WithoutLeadingBackslash(Key), KEY_QUERY_VALUE)) {
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), Name.c_str(), nullptr, &before.Type, nullptr, &size) == ERROR_SUCCESS) {
      before.Data.resize(size);
      before.Existed = RegQueryValueExA(key.Get(), Name.c_str(), nullptr, &before.Type, before.Data.data(), &size) ==
                       ERROR_SUCCESS;
      before.Data.resize(size);
    }
  }
  FValuesBefore.push_back(std::move(before));
}

void TInstallRunJournal::NoteCreatedRegistryKey(int Root, const std::string& Key) {
  for (const TCreatedKey& created : FCreatedKeys)
    if (created.Root == Root && fw::SameText(created.Key, Key)) return;
  FCreatedKeys.push_back({Root, Key, {}});
}

void TInstallRunJournal::NoteCreatedRegistryValue(int Root, const std::string& Key, const std::string& Name,
                                                  const std::string& Data) {
  NoteCreatedRegistryKey(Root, Key);
  for (TCreatedKey& created : FCreatedKeys)
    if (created.Root == Root && fw::SameText(created.Key, Key)) {
      if (std::none_of(created.Values.begin(), created.Values.end(),
                       [&](const auto& value) { return fw::SameText(value.first, Name); }))
        created.Values.emplace_back(Name, Data);
      return;
    }
}

namespace {

// What the run created, as an uninstall log would record it: each file with the content
// it holds now, each value with the data it holds now when that is still the data the
// run wrote (its text as the journal keeps it), every level of each key.
TUninstallLog CreatedAsLog(const std::vector<std::string>& Files, const std::vector<std::string>& ActiveX,
                           const std::vector<std::string>& Shared,
                           const std::vector<std::pair<int, std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>>& Keys) {
  TUninstallLog log;
  log.Found = true;
  auto record = [&](const std::string& Path) {
    TFileRecord made;
    if (TFileIdentity now; ReadFileIdentity(Path, now)) made.Contents.push_back(now);
    made.Shared = std::any_of(Shared.begin(), Shared.end(), [&](const std::string& s) { return fw::SameText(s, Path); });
    log.FileRecords[fw::UpperCase(Path)] = made;
  };
  for (const std::string& file : Files) {
    log.Files.push_back(file);
    record(file);
  }
  for (const std::string& entry : ActiveX) {
    TLoggedActiveX logged;
    logged.Entry = entry;
    if (!ParseActiveXEntry(entry, logged.Path, logged.Kind)) logged.Path.clear();
    if (!logged.Path.empty()) record(logged.Path);
    log.ActiveX.push_back(logged);
  }
  int number = 0;
  for (const auto& [root, key] : Keys) {
    TLoggedRegistryKey logged;
    logged.Entry = "RegistryKey" + std::to_string(++number);
    logged.Key = key.first;
    logged.Root = root;
    logged.MadeLevels = static_cast<int>(std::count(key.first.begin(), key.first.end(), '\\')) + 1;
    fw::TRegKeyHandle opened;
    RegOpenKeyExA(RootKeyFromIndex(root), key.first.c_str() + (key.first[0] == '\\' ? 1 : 0), 0, KEY_READ, opened.Put());
    for (const auto& [name, data] : key.second) {
      TLoggedValue value;
      value.Name = name;
      value.Text = data;
      TStoredValue now;
      if (opened && ReadStoredValue(opened.Get(), name, now)) {
        const std::string text = now.Type == REG_DWORD && now.Data.size() == 4
                                     ? std::to_string(*reinterpret_cast<const int32_t*>(now.Data.data()))
                                     : now.Data.substr(0, now.Data.find('\0'));
        value.Made = text == data;
        value.Type = now.Type;
        value.Data = now.Data;
      }
      logged.Values.push_back(value);
    }
    log.RegistryKeys.push_back(logged);
  }
  return log;
}

}  // namespace

std::vector<std::string> TInstallRunJournal::Undo() {
  // What the run created, removed by the uninstaller's own code: the same rules,
  // unregistrations and shared-file releases. Nothing of it was there before the run, so
  // a shared file whose count ends goes without a question.
  std::vector<std::pair<int, std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>> keys;
  for (const TCreatedKey& key : FCreatedKeys) keys.push_back({key.Root, {key.Key, key.Values}});
  CountUncountedSharedFiles();
  const TUninstallLog created = CreatedAsLog(FCreatedFiles, FCreatedActiveX, FCreatedShared, keys);
  const TSharedFileQuestion removeShared = [](const std::string&) { return true; };
  TUninstallReport report;
  {
    const HRESULT com = CoInitialize(nullptr);
    TFileRemoval files(MachineFolderRules(), removeShared, std::string(), std::string(), report.NotRemoved);
    files.RemoveFiles(created);
    TRegistryRemoval(report.NotRemoved).RemoveRegistryEntries(created.RegistryKeys);
    if (SUCCEEDED(com)) CoUninitialize();
  }
  RemoveCreatedFolders();
  RestoreFolders();
  RestoreSharedCounts();
  RestoreValues();
  RestoreUninstallKey();
  FFoldersBefore.clear();
  FCreatedFolders.clear();
  FLastFolder.clear();
  FCreatedFiles.clear();
  FCreatedActiveX.clear();
  FCreatedShared.clear();
  FCreatedKeys.clear();
  FSharedCountsBefore.clear();
  FValuesBefore.clear();
  return report.NotRemoved;
}

void TInstallRunJournal::CountUncountedSharedFiles() {
  // A shared file the run made but had not counted yet (the run ended right after it was
  // written) is counted now: the removal then gives the use back and the file goes, also
  // from a folder the rules keep, as the uninstaller removes a shared file no program
  // uses. Its count goes back to none afterwards.
  for (const std::string& path : FCreatedShared) {
    if (HasSharedDLLCount(path) || !FileExists(path)) continue;
    unsigned long error = 0;
    TSharedCountBefore before;
    IncrementSharedDLLValue(path, error, &before);
    if (!before.Name.empty()) NoteSharedCount(before.Name, before.Count);
  }
}

void TInstallRunJournal::RemoveCreatedFolders() const {
  // The deepest first, so a parent is empty when its turn comes; a folder that still
  // holds something (another program's file) stays.
  std::vector<std::string> folders = FCreatedFolders;
  std::sort(folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& folder : folders) RemoveDirectoryA(folder.c_str());
}

void TInstallRunJournal::RestoreFolders() const {
  // The removal takes the folders that its files leave empty; those that were there
  // before come back.
  for (const std::string& folder : FFoldersBefore)
    if (!FolderExists(folder)) ForceDirectories(folder);
}

void TInstallRunJournal::RestoreSharedCounts() {
  fw::TRegKeyHandle counts = OpenKey(HKEY_LOCAL_MACHINE, kSharedDLLsKey + 1, KEY_SET_VALUE);
  if (!counts) return;
  for (const auto& [name, before] : FSharedCountsBefore) {
    if (before) {
      DWORD count = *before;
      RegSetValueExA(counts.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    } else {
      RegDeleteValueA(counts.Get(), name.c_str());
    }
  }
}

void TInstallRunJournal::RestoreValues() {
  for (const TValueBefore& value : FValuesBefore) {
    fw::TRegKeyHandle key = OpenKey(RootKeyFromIndex(value.Root), WithoutLeadingBackslash(value.Key), KEY_SET_VALUE);
    if (!key) continue;
    if (value.Existed)
      RegSetValueExA(key.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                     static_cast<DWORD>(value.Data.size()));
    else
      RegDeleteValueA(key.Get(), value.Name.c_str());
  }
}

void TInstallRunJournal::RestoreUninstallKey() {
  DeleteRegKeyTree(hkLocalMachine, FUninstallKey);
  if (FUninstallKeyBefore) WriteTree(WithoutLeadingBackslash(FUninstallKey), *FUninstallKeyBefore);
}

TInstallRunJournal* CurrentRunJournal() {
  TInstallEngine* engine = GlobalInstall();
  return engine != nullptr ? engine->RunJournal() : nullptr;
}

}  // namespace setup
