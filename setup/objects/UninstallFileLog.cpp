#include "UninstallFileLog.h"

#include <windows.h>

#include <cstdint>

#include "InstallEngine.h"
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

fw::TRegKeyHandle OpenReadOnly(const std::string& Key) {
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  return registry.OpenKeyHandleReadOnly(Key);
}

// Adds the upper-cased text of every "File<n>" value of Key to Into: what earlier runs of
// the same setup logged. Read from the values there are, not from the count, which may
// be damaged.
void ReadLogged(const std::string& Key, std::set<std::string>& Into) {
  fw::TRegKeyHandle key = OpenReadOnly(Key);
  if (!key) return;
  char name[256];
  std::string data(2048, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name, type = 0, size = static_cast<DWORD>(data.size());
    LONG result =
        RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (result == ERROR_MORE_DATA) continue;  // longer than any path
    if (result != ERROR_SUCCESS) return;
    if (type != REG_SZ || nameLength < 4 || !fw::SameText(std::string_view(name, 4), "File")) continue;
    std::string text(data.data(), std::min<size_t>(size, data.size()));
    while (!text.empty() && text.back() == '\0') text.pop_back();
    Into.insert(fw::UpperCase(text));
  }
}

std::string ActiveXEntry(const std::string& Path, char Kind) { return Path + ";" + std::string(1, Kind); }

// The run's log when the engine keeps one for UninstallKey while it installs.
TUninstallFileLog* RunLogFor(const std::string& UninstallKey) {
  TInstallEngine* engine = GlobalInstall();
  if (engine == nullptr || !engine->EngineInstalling()) return nullptr;
  TUninstallFileLog* log = engine->RunFileLog();
  return log != nullptr && fw::SameText(log->UninstallKey(), UninstallKey) ? log : nullptr;
}

}  // namespace

TUninstallFileLog::TUninstallFileLog(std::string UninstallKey) : FUninstallKey(std::move(UninstallKey)) {
  if (!OpenReadOnly(FUninstallKey)) return;
  const std::string base = FUninstallKey + "\\" + kFilesLogKey;
  ReadLogged(base, FFiles);
  for (int n = 1; n <= kMaxFilesLogRetries; ++n) ReadLogged(base + std::to_string(n), FFiles);
  ReadLogged(FUninstallKey + "\\" + kActiveXLogKey, FActiveX);
}

bool TUninstallFileLog::IsLogged(const std::string& Path) const {
  const std::string path = fw::UpperCase(Path);
  if (FFiles.count(path) != 0) return true;
  for (char kind : {kActiveXLibrary, kActiveXServer, kActiveXTypeLibrary})
    if (FActiveX.count(ActiveXEntry(path, kind)) != 0) return true;
  return false;
}

bool TUninstallFileLog::TryLog(const std::string& Key, const std::string& Value) {
  // The count is read once per subkey; the run's own entries follow it in memory.
  auto next = FNextNumbers.find(fw::UpperCase(Key));
  int number = 0;
  if (next != FNextNumbers.end())
    number = next->second;
  else if (!NextEntryNumber(Key, number))
    return false;
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  try {
    if (!registry.OpenKey(Key, true)) return false;
    registry.WriteString("File" + std::to_string(number), Value);
    registry.WriteString(kEntries, std::to_string(number));
  } catch (const fw::Exception&) {
    return false;
  }
  FNextNumbers[fw::UpperCase(Key)] = number + 1;
  return true;
}

void TUninstallFileLog::LogFile(const std::string& Path) {
  // A second run of the setup (a repair, an update) logs nothing twice.
  const std::string upper = fw::UpperCase(Path);
  if (FFiles.count(upper) != 0) return;
  const std::string base = FUninstallKey + "\\" + kFilesLogKey;
  bool logged = TryLog(base, Path);
  for (int n = 1; !logged && n <= kMaxFilesLogRetries; ++n) logged = TryLog(base + std::to_string(n), Path);
  if (!logged) throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path, base);
  FFiles.insert(upper);
}

void TUninstallFileLog::LogActiveX(const std::string& Path, char Kind) {
  const std::string key = FUninstallKey + "\\" + kActiveXLogKey;
  const std::string entry = ActiveXEntry(Path, Kind);
  const std::string upper = fw::UpperCase(entry);
  if (FActiveX.count(upper) != 0) return;
  if (!TryLog(key, entry)) throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path, key);
  FActiveX.insert(upper);
}

bool IsFileLogged(const std::string& UninstallKey, const std::string& Path) {
  if (TUninstallFileLog* log = RunLogFor(UninstallKey)) return log->IsLogged(Path);
  return TUninstallFileLog(UninstallKey).IsLogged(Path);
}

void LogInstalledFile(const std::string& UninstallKey, const std::string& Path) {
  if (TUninstallFileLog* log = RunLogFor(UninstallKey)) return log->LogFile(Path);
  TUninstallFileLog(UninstallKey).LogFile(Path);
}

void LogActiveXFile(const std::string& UninstallKey, const std::string& Path, char Kind) {
  if (TUninstallFileLog* log = RunLogFor(UninstallKey)) return log->LogActiveX(Path, Kind);
  TUninstallFileLog(UninstallKey).LogActiveX(Path, Kind);
}

}  // namespace setup
