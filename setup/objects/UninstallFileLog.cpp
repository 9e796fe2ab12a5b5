#include "UninstallFileLog.h"

#include <cstdint>

#include "InstallFile.h"
#include "support/Registry.h"

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

}  // namespace

void LogInstalledFile(const std::string& UninstallKey, const std::string& Path) {
  const std::string base = UninstallKey + "\\" + kFilesLogKey;
  if (TryLog(base, Path)) return;
  for (int n = 1; n <= kMaxFilesLogRetries; ++n)
    if (TryLog(base + std::to_string(n), Path)) return;
  throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path, base);
}

void LogActiveXFile(const std::string& UninstallKey, const std::string& Path, char Kind) {
  const std::string key = UninstallKey + "\\" + kActiveXLogKey;
  int number = 0;
  if (!NextEntryNumber(key, number))
    throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path, key);
  WriteRegString(hkLocalMachine, key, "File" + std::to_string(number), Path + ";" + std::string(1, Kind));
  WriteRegString(hkLocalMachine, key, kEntries, std::to_string(number));
}

}  // namespace setup
