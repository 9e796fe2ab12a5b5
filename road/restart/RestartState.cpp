#include "RestartState.h"

#include <algorithm>

#include "RegistrySnapshot.h"
#include "gui/WinHandles.h"

namespace restart {

namespace {

constexpr const char* kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingValue = "PendingFileRenameOperations";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kRecordsKey = "SOFTWARE\\URQ\\Install";
constexpr const char* kNtPrefix = "\\??\\";

std::string Upper(std::string Text) {
  if (!Text.empty()) CharUpperBuffA(Text.data(), static_cast<DWORD>(Text.size()));
  return Text;
}

bool StartsWithNoCase(const std::string& Text, const std::string& Prefix) {
  return Text.size() >= Prefix.size() && Upper(Text.substr(0, Prefix.size())) == Upper(Prefix);
}

// The strings of a REG_MULTI_SZ block; an empty string inside the block (the target of a
// delete) is kept, the list's closing one is not.
std::vector<std::string> MultiStrings(const std::vector<char>& Data) {
  std::vector<std::string> strings;
  std::string current;
  for (char c : Data) {
    if (c != '\0') {
      current += c;
      continue;
    }
    strings.push_back(current);
    current.clear();
  }
  if (!current.empty()) strings.push_back(current);
  // Pairs: an odd count ends in the list's closing empty string.
  while (strings.size() % 2 != 0 && strings.back().empty()) strings.pop_back();
  return strings;
}

std::string WithoutNtPrefix(const std::string& Path) {
  return Path.compare(0, 4, kNtPrefix) == 0 ? Path.substr(4) : Path;
}

std::vector<std::string> ValueNames(HKEY Key) {
  std::vector<std::string> names;
  char name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumValueA(Key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

std::vector<std::string> SubkeyNames(HKEY Root, const char* Path) {
  std::vector<std::string> names;
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(Root, Path, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

std::string StringValue(HKEY Key, const std::string& Name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(Key, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(Key, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return "";
  return std::string(data.data());
}

// A key that has neither subkeys nor values is deleted.
void DeleteKeyWhenEmpty(HKEY Root, const char* Path) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(Root, Path, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return;
  DWORD subkeys = 0, values = 0;
  if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return;
  key.Reset();
  if (subkeys == 0 && values == 0) RegDeleteKeyA(Root, Path);
}

}  // namespace

std::vector<TPendingRename> PendingRenames() {
  std::vector<TPendingRename> renames;
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return renames;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), kPendingValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return renames;
  std::vector<char> data(size);
  if (RegQueryValueExA(key.Get(), kPendingValue, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return renames;
  data.resize(size);
  std::vector<std::string> strings = MultiStrings(data);
  for (size_t i = 0; i + 1 < strings.size(); i += 2) {
    TPendingRename rename;
    rename.Source = WithoutNtPrefix(strings[i]);
    std::string target = strings[i + 1];
    rename.ReplaceExisting = !target.empty() && target[0] == '!';
    rename.Target = WithoutNtPrefix(rename.ReplaceExisting ? target.substr(1) : target);
    renames.push_back(rename);
  }
  return renames;
}

int CancelPendingRenames(const std::function<bool(const TPendingRename&)>& Which) {
  std::vector<TPendingRename> kept;
  int removed = 0;
  for (const TPendingRename& rename : PendingRenames()) {
    if (Which(rename)) {
      DeleteFileA(rename.Source.c_str());
      ++removed;
    } else {
      kept.push_back(rename);
    }
  }
  if (removed == 0) return 0;
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) return 0;
  if (kept.empty()) {
    RegDeleteValueA(key.Get(), kPendingValue);
    return removed;
  }
  std::string data;
  for (const TPendingRename& rename : kept) {
    data.append(kNtPrefix).append(rename.Source).push_back('\0');
    if (!rename.Target.empty()) data.append(rename.ReplaceExisting ? "!" : "").append(kNtPrefix).append(rename.Target);
    data.push_back('\0');
  }
  data.push_back('\0');
  RegSetValueExA(key.Get(), kPendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(data.size()));
  return removed;
}

int CancelPendingRenamesBelow(const std::string& Folder) {
  if (Folder.empty()) return 0;
  std::string folder = Folder.back() == '\\' ? Folder : Folder + "\\";
  return CancelPendingRenames([&](const TPendingRename& rename) { return StartsWithNoCase(rename.Source, folder); });
}

std::vector<TRunOnceEntry> RunOnceEntries(const std::string& Prefix) {
  std::vector<TRunOnceEntry> entries;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    fw::TRegKeyHandle key;
    if (RegOpenKeyExA(root, kRunOnceKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) continue;
    for (const std::string& name : ValueNames(key.Get()))
      if (StartsWithNoCase(name, Prefix)) entries.push_back({root, name, StringValue(key.Get(), name)});
  }
  return entries;
}

bool DeleteRunOnceEntry(const TRunOnceEntry& Entry) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(Entry.Root, kRunOnceKey, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
    return true;
  RegDeleteValueA(key.Get(), Entry.Name.c_str());
  return RegQueryValueExA(key.Get(), Entry.Name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS;
}

std::vector<std::string> InstallRecords() {
  return SubkeyNames(HKEY_LOCAL_MACHINE, kRecordsKey);
}

std::vector<std::pair<std::string, std::string>> UnfinishedItems(const std::string& Record) {
  std::vector<std::pair<std::string, std::string>> items;
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kRecordsKey) + "\\" + Record + "\\Unfinished").c_str(), 0,
                    KEY_READ, key.Put()) != ERROR_SUCCESS)
    return items;
  for (const std::string& name : ValueNames(key.Get())) items.emplace_back(name, StringValue(key.Get(), name));
  return items;
}

void DeleteInstallRecord(const std::string& Name) {
  testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, std::string("\\") + kRecordsKey + "\\" + Name);
  DeleteKeyWhenEmpty(HKEY_LOCAL_MACHINE, kRecordsKey);
  DeleteKeyWhenEmpty(HKEY_LOCAL_MACHINE, "SOFTWARE\\URQ");
}

TRestartLeftovers::TRestartLeftovers(const std::string& RunOncePrefix)
    : FPrefix(RunOncePrefix), FRecordsBefore(InstallRecords()), FRenamesBefore(PendingRenames()) {
  for (const TRunOnceEntry& entry : RunOnceEntries(FPrefix))
    FRunOnceBefore.push_back((entry.Root == HKEY_CURRENT_USER ? "U:" : "M:") + Upper(entry.Name));
}

TRestartLeftovers::~TRestartLeftovers() {
  Sweep();
}

void TRestartLeftovers::Sweep() const {
  for (const TRunOnceEntry& entry : RunOnceEntries(FPrefix)) {
    std::string id = (entry.Root == HKEY_CURRENT_USER ? "U:" : "M:") + Upper(entry.Name);
    if (std::find(FRunOnceBefore.begin(), FRunOnceBefore.end(), id) == FRunOnceBefore.end()) DeleteRunOnceEntry(entry);
  }
  for (const std::string& record : InstallRecords())
    if (std::find(FRecordsBefore.begin(), FRecordsBefore.end(), record) == FRecordsBefore.end())
      DeleteInstallRecord(record);
  CancelPendingRenames([this](const TPendingRename& rename) {
    return std::find(FRenamesBefore.begin(), FRenamesBefore.end(), rename) == FRenamesBefore.end();
  });
}

}  // namespace restart
