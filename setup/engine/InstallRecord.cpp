// The installation record under HKEY_LOCAL_MACHINE: found by the program file's size and
// date, made when missing, removed at the end; its unfinished list and language value.
#include <windows.h>

#include "Install.h"
#include "RestartCommands.h"
#include "core/Strings.h"
#include "gui/WinHandles.h"
#include "objects/InstallLists.h"
#include "support/Registry.h"
#include "support/Translator.h"

namespace setup {

namespace {

constexpr char kNoUnfinishedBusiness[] =
    "The TInstall could not either write or read unfinished business from the registry";
constexpr char kUnfinishedSubkey[] = "Unfinished";
// The key the record root lies in; it goes when the last record went.
constexpr char kRecordParent[] = "\\SOFTWARE\\URQ";

// A key path as the system wants it (no leading backslash).
std::string SystemPath(const std::string& Path) {
  return !Path.empty() && Path[0] == '\\' ? Path.substr(1) : Path;
}

fw::TRegKeyHandle OpenMachineKey(const std::string& Path, REGSAM Access, bool Create) {
  HKEY key = nullptr;
  LONG result = Create ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, SystemPath(Path).c_str(), 0, nullptr, 0, Access, nullptr,
                                         &key, nullptr)
                       : RegOpenKeyExA(HKEY_LOCAL_MACHINE, SystemPath(Path).c_str(), 0, Access, &key);
  return fw::TRegKeyHandle(result == ERROR_SUCCESS ? key : nullptr);
}

std::vector<std::string> SubkeyNames(HKEY Key) {
  std::vector<std::string> names;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(Key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

bool ReadDouble(HKEY Key, const char* Name, double& Value) {
  DWORD type = 0;
  DWORD size = sizeof(Value);
  return RegQueryValueExA(Key, Name, nullptr, &type, reinterpret_cast<BYTE*>(&Value), &size) == ERROR_SUCCESS &&
         type == REG_BINARY && size == sizeof(Value);
}

bool ReadInteger(HKEY Key, const char* Name, int32_t& Value) {
  DWORD type = 0;
  DWORD size = sizeof(Value);
  return RegQueryValueExA(Key, Name, nullptr, &type, reinterpret_cast<BYTE*>(&Value), &size) == ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof(Value);
}

bool ReadString(HKEY Key, const char* Name, std::string& Value) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(Key, Name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return false;
  std::string buffer(size + 1, '\0');
  if (RegQueryValueExA(Key, Name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return false;
  buffer.resize(strnlen(buffer.c_str(), size));
  Value = buffer;
  return true;
}

bool WriteDouble(HKEY Key, const char* Name, double Value) {
  return RegSetValueExA(Key, Name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&Value), sizeof(Value)) ==
         ERROR_SUCCESS;
}

bool WriteInteger(HKEY Key, const char* Name, int32_t Value) {
  return RegSetValueExA(Key, Name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Value), sizeof(Value)) == ERROR_SUCCESS;
}

bool WriteString(HKEY Key, const char* Name, const std::string& Value) {
  return RegSetValueExA(Key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                        static_cast<DWORD>(Value.size() + 1)) == ERROR_SUCCESS;
}

// The size and last-write date (UTC) of the program file.
bool ReadProgramFacts(const std::string& FileName, int32_t& Size, double& Date) {
  fw::TFileHandle file(CreateFileA(FileName.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  FILETIME written;
  if (!GetFileSizeEx(file.Get(), &size) || !GetFileTime(file.Get(), nullptr, nullptr, &written)) return false;
  Size = static_cast<int32_t>(static_cast<uint32_t>(size.QuadPart));
  Date = FileTimeToDays((static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime);
  return true;
}

bool HasSubkeys(const std::string& Path) {
  fw::TRegKeyHandle key = OpenMachineKey(Path, KEY_READ, false);
  return !key || !SubkeyNames(key.Get()).empty();
}

}  // namespace

void TCustomInstall::FindInstallRecord(bool Create, std::string& Key) {
  Key.clear();
  std::string program = ProgramFileName();
  int32_t size = 0;
  double date = 0;
  if (!ReadProgramFacts(program, size, date)) return;
  fw::TRegKeyHandle root = OpenMachineKey(kInstallRecordRoot, KEY_READ | KEY_WRITE, true);
  if (!root) return;
  std::vector<std::string> names = SubkeyNames(root.Get());
  for (const std::string& name : names) {
    std::string path = std::string(kInstallRecordRoot) + "\\" + name;
    fw::TRegKeyHandle record = OpenMachineKey(path, KEY_READ | KEY_WRITE, false);
    if (!record) continue;
    std::string storedPath;
    double storedDate = 0;
    int32_t storedSize = 0;
    if (!ReadString(record.Get(), "Path", storedPath) || !ReadDouble(record.Get(), "CreationDate", storedDate) ||
        !ReadInteger(record.Get(), "Size", storedSize))
      continue;
    if (!SameRecordDate(storedDate, date) || storedSize != size) continue;
    if (WriteDouble(record.Get(), "LastRunDate", InstallStartTime()) && WriteString(record.Get(), "Path", program))
      Key = path;
    return;
  }
  if (!Create) return;
  int number = 0;
  auto taken = [&](const std::string& candidate) {
    for (const std::string& name : names)
      if (fw::SameText(name, candidate)) return true;
    return false;
  };
  while (taken("Install" + std::to_string(number))) ++number;
  std::string path = std::string(kInstallRecordRoot) + "\\Install" + std::to_string(number);
  fw::TRegKeyHandle record = OpenMachineKey(path, KEY_READ | KEY_WRITE, true);
  if (!record) return;
  bool written = WriteString(record.Get(), "Path", program) &&
                 WriteDouble(record.Get(), "LastRunDate", InstallStartTime()) &&
                 WriteDouble(record.Get(), "CreationDate", date) && WriteInteger(record.Get(), "Size", size);
  if (written && FSwitches.Has(swSelfExtract)) {
    std::string source = FSwitches.Value(swSource);
    std::string selfExtract =
        (source.empty() || source.back() == '\\' ? source : source + "\\") + FSwitches.Value(swSelfExtract);
    written = WriteString(record.Get(), "SelfExtract", selfExtract);
  }
  if (written) Key = path;
}

void TCustomInstall::RemoveInstallRecord() {
  std::string key = InstallRecordKey() != nullptr ? *InstallRecordKey() : std::string();
  if (key.empty()) return;
  {
    fw::TRegKeyHandle record = OpenMachineKey(key, KEY_READ, false);
    if (!record) return;
    for (const std::string& name : SubkeyNames(record.Get())) {
      std::string subkey = key + "\\" + name;
      if (fw::TRegKeyHandle object = OpenMachineKey(subkey, KEY_READ, false)) {
        std::string local;
        if (ReadString(object.Get(), kLocalFileValue, local) && !fw::Trim(local).empty()) DeleteFileA(local.c_str());
      }
      DeleteRegKeyTree(hkLocalMachine, subkey);
    }
  }
  DeleteRegKeyTree(hkLocalMachine, key);
  if (!OpenMachineKey(kInstallRecordRoot, KEY_READ, false)) return;
  if (!HasSubkeys(kInstallRecordRoot)) DeleteRegKeyTree(hkLocalMachine, kInstallRecordRoot);
  if (OpenMachineKey(kRecordParent, KEY_READ, false) && !HasSubkeys(kRecordParent))
    DeleteRegKeyTree(hkLocalMachine, kRecordParent);
}

std::string TCustomInstall::UnfinishedKey() const {
  std::string key = InstallRecordKey() != nullptr ? *InstallRecordKey() : std::string();
  if (key.empty()) throw IEInstall(kNoUnfinishedBusiness);
  return key + "\\" + kUnfinishedSubkey;
}

void TCustomInstall::AddUnfinished(const std::string& Item, int Kind) {
  std::string key = UnfinishedKey();
  ++FDeferredCount;
  WriteRegString(hkLocalMachine, key, Item, std::to_string(Kind));
}

void TCustomInstall::GetUnfinishedList(fw::TStrings& List) {
  List.Clear();
  std::string key = UnfinishedKey();
  fw::TRegKeyHandle unfinished = OpenMachineKey(key, KEY_READ, false);
  if (!unfinished) return;
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD length = sizeof(name);
    if (RegEnumValueA(unfinished.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    std::string item(name, length);
    std::string kind;
    ReadString(unfinished.Get(), item.c_str(), kind);
    List.Add(item + ";" + kind);
  }
}

void TCustomInstall::ClearUnfinishedList() {
  DeleteRegKeyTree(hkLocalMachine, UnfinishedKey());
}

TQnlkLanguage TCustomInstall::ReadSavedLanguage() const {
  TQnlkLanguage fallback = GlobalTranslator() != nullptr ? GlobalTranslator()->TranslateIntoLanguage() : qlUser;
  std::string key = InstallRecordKey() != nullptr ? *InstallRecordKey() : std::string();
  if (key.empty()) return fallback;
  fw::TRegKeyHandle record = OpenMachineKey(key, KEY_READ, false);
  int32_t value = -1;
  if (!record || !ReadInteger(record.Get(), "Language", value)) return fallback;
  if (value < 0 || value > static_cast<int32_t>(qlVietnamese)) return fallback;
  return static_cast<TQnlkLanguage>(value);
}

void TCustomInstall::SaveLanguage() {
  TTranslator* translator = GlobalTranslator();
  std::string key = InstallRecordKey() != nullptr ? *InstallRecordKey() : std::string();
  // Without a record nothing is written (never into the root key).
  if (translator == nullptr || key.empty()) return;
  WriteRegInteger(hkLocalMachine, key, "Language", static_cast<int>(translator->TranslateIntoLanguage()));
}

}  // namespace setup
