#include "UninstallFileLog.h"

#include <windows.h>

#include <cstdint>

#include "InstallFile.h"
#include "gui/WinHandles.h"
#include "support/Registry.h"
#include "support/RegistryObject.h"

namespace setup {

namespace {

constexpr char kEntries[] = "Entries";

// The next entry number of a log subkey; false when its count is damaged.
bool NextEntryNumber(const std::string& Key, int& Number) {
  std::string text = ReadRegString(hkLocalMachine, Key, kEntries, "0");
  int stored = 0;
  if (!fw::TryStrToInt(text, stored) || stored < 0 || stored == INT32_MAX) return false;
  Number = stored + 1;
  return true;
}

// Writes Value as the next "File<n>" of Key; false when the subkey cannot take it.
bool TryLog(const std::string& Key, const std::string& Value) {
  int number = 0;
  if (!NextEntryNumber(Key, number)) return false;
  try {
    WriteRegString(hkLocalMachine, Key, "File" + std::to_string(number), Value);
    WriteRegString(hkLocalMachine, Key, kEntries, std::to_string(number));
  } catch (const fw::Exception&) {
    return false;
  }
  return true;
}

// Whether a "File<n>" value of Key holds Value (in any case): what an earlier run of the
// same setup logged. Read from the values there are, not from the count, which may be damaged.
bool AlreadyLogged(const std::string& Key, const std::string& Value) {
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  fw::TRegKeyHandle key = registry.OpenKeyHandleReadOnly(Key);
  if (!key) return false;
  char name[256];
  std::string data(2048, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name, type = 0, size = static_cast<DWORD>(data.size());
    LONG result =
        RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (result == ERROR_MORE_DATA) continue;  // longer than any path
    if (result != ERROR_SUCCESS) return false;
    if (type != REG_SZ || nameLength < 4 || !fw::SameText(std::string_view(name, 4), "File")) continue;
    std::string text(data.data(), size);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (fw::SameText(text, Value)) return true;
  }
}

// Whether "Files" or one of its numbered twins names Path.
bool LoggedAsFile(const std::string& UninstallKey, const std::string& Path) {
  const std::string base = UninstallKey + "\\" + kFilesLogKey;
  if (AlreadyLogged(base, Path)) return true;
  for (int n = 1; n <= kMaxFilesLogRetries; ++n)
    if (AlreadyLogged(base + std::to_string(n), Path)) return true;
  return false;
}

}  // namespace

bool IsFileLogged(const std::string& UninstallKey, const std::string& Path) {
  if (LoggedAsFile(UninstallKey, Path)) return true;
  const std::string activeX = UninstallKey + "\\" + kActiveXLogKey;
  for (char kind : {kActiveXLibrary, kActiveXServer, kActiveXTypeLibrary})
    if (AlreadyLogged(activeX, Path + ";" + std::string(1, kind))) return true;
  return false;
}

void LogInstalledFile(const std::string& UninstallKey, const std::string& Path) {
  const std::string base = UninstallKey + "\\" + kFilesLogKey;
  // A second run of the setup (a repair, an update) logs nothing twice.
  if (LoggedAsFile(UninstallKey, Path)) return;
  if (TryLog(base, Path)) return;
  for (int n = 1; n <= kMaxFilesLogRetries; ++n)
    if (TryLog(base + std::to_string(n), Path)) return;
  throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path, base);
}

void LogActiveXFile(const std::string& UninstallKey, const std::string& Path, char Kind) {
  const std::string key = UninstallKey + "\\" + kActiveXLogKey;
  if (AlreadyLogged(key, Path + ";" + std::string(1, Kind))) return;
  int number = 0;
  if (!NextEntryNumber(key, number))
    throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path, key);
  WriteRegString(hkLocalMachine, key, "File" + std::to_string(number), Path + ";" + std::string(1, Kind));
  WriteRegString(hkLocalMachine, key, kEntries, std::to_string(number));
}

}  // namespace setup
