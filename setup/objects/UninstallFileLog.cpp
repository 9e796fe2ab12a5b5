#include "UninstallFileLog.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "InstallEngine.h"
#include "InstallFile.h"
#include "UninstallLogReader.h"
#include "UninstallRules.h"
#include "archive/FileSystem.h"
#include "support/FileHandles.h"
#include "support/PathStrings.h"
#include "support/RegistryObject.h"

namespace setup {

namespace {

std::string ActiveXEntry(const std::string& Path, char Kind) { return Path + ";" + std::string(1, Kind); }

// The run's log when the engine keeps one for UninstallKey while it installs.
TUninstallFileLog* RunLogFor(const std::string& UninstallKey) {
  TInstallEngine* engine = GlobalInstall();
  if (engine == nullptr || !engine->EngineInstalling()) return nullptr;
  TUninstallFileLog* log = engine->RunFileLog();
  return log != nullptr && fw::SameText(log->UninstallKey(), UninstallKey) ? log : nullptr;
}

// The run's log while the engine installs, whatever its key.
TUninstallFileLog* CurrentRunLog() {
  TInstallEngine* engine = GlobalInstall();
  return engine != nullptr && engine->EngineInstalling() ? engine->RunFileLog() : nullptr;
}

bool IsFolder(const std::string& Path) {
  const DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void WriteLogText(const std::string& Key, const std::string& Name, const std::string& Text) {
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(Key, true)) throw IECustomInstallFile("Cannot write the uninstall log under %s", Key);
  try {
    registry.WriteString(Name, Text);
  } catch (const fw::Exception&) {
    throw IECustomInstallFile("Cannot write the uninstall log under %s", Key);
  }
}

}  // namespace

TLoggedWrite LoggedWriteAt(const std::string& Path) {
  TLoggedWrite written;
  TFileIdentity content;
  if (ReadFileIdentity(Path, content)) written.Content = content;
  return written;
}

TUninstallFileLog::TUninstallFileLog(std::string UninstallKey) : FUninstallKey(std::move(UninstallKey)) {
  TUninstallLog log = ReadUninstallLog(FUninstallKey);
  for (const std::string& file : log.Files) FFiles.insert(fw::UpperCase(file));
  for (const TLoggedActiveX& entry : log.ActiveX) FActiveX.insert(fw::UpperCase(entry.Entry));
  FRecords = std::move(log.FileRecords);
  FCounts = std::move(log.ListCounts);
}

bool TUninstallFileLog::IsLogged(const std::string& Path) const {
  const std::string path = fw::UpperCase(Path);
  if (FFiles.count(path) != 0) return true;
  for (char kind : {kActiveXLibrary, kActiveXServer, kActiveXTypeLibrary})
    if (FActiveX.count(ActiveXEntry(path, kind)) != 0) return true;
  return false;
}

bool TUninstallFileLog::IsCountedShared(const std::string& Path) const {
  auto record = FRecords.find(fw::UpperCase(Path));
  return record != FRecords.end() ? record->second.Shared : IsLogged(Path);
}

bool TUninstallFileLog::TryLog(const std::string& List, const std::string& Value) {
  // The count is read once per list; the run's own entries follow it in memory.
  const std::string list = fw::UpperCase(List);
  int number = 0;
  if (auto next = FNextNumbers.find(list); next != FNextNumbers.end()) {
    number = next->second;
  } else {
    auto count = FCounts.find(list);
    int stored = 0;
    if (count != FCounts.end() && (!fw::TryStrToInt(count->second, stored) || stored < 0 || stored == INT32_MAX))
      return false;  // a damaged count: the next list takes the entry
    number = stored + 1;
  }
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  try {
    if (!registry.OpenKey(FUninstallKey + "\\" + List, true)) return false;
    registry.WriteString("File" + std::to_string(number), Value);
    registry.WriteString(kLogCountValue, std::to_string(number));
  } catch (const fw::Exception&) {
    return false;
  }
  FNextNumbers[list] = number + 1;
  return true;
}

void TUninstallFileLog::LogRecord(const std::string& Path, const TLoggedWrite& Written) {
  const std::string path = fw::UpperCase(Path);
  auto known = FRecords.find(path);
  TFileRecord record = known != FRecords.end() ? known->second : TFileRecord();
  if (Written.Content) {
    // What the run wrote replaces what was recorded, unless it waits for the restart.
    if (!Written.WaitsForRestart) record.Contents.clear();
    record.Contents.erase(std::remove(record.Contents.begin(), record.Contents.end(), *Written.Content),
                          record.Contents.end());
    record.Contents.push_back(*Written.Content);
    if (record.Contents.size() > kMaxRecordedContents) record.Contents.erase(record.Contents.begin());
  }
  record.Shared = record.Shared || Written.Shared;
  if (known != FRecords.end() && known->second == record) return;
  if (record.Contents.empty() && !record.Shared) return;
  WriteLogText(FUninstallKey + "\\" + kMadeFilesLogKey, Path, FileRecordText(record));
  FRecords[path] = record;
}

void TUninstallFileLog::LogMadeFolders(const std::string& Path) {
  // The folders this run made on the file's way, each with its identity now.
  for (std::string folder = ParentFolder(Path); !folder.empty() && !FMadeFolders.empty();
       folder = ParentFolder(folder)) {
    auto made = FMadeFolders.find(fw::UpperCase(folder));
    if (made == FMadeFolders.end()) continue;
    TOpenedEntry opened(made->second);
    if (opened.Opened() && opened.IsFolder() && !opened.IsLink() && !opened.Id().empty())
      WriteLogText(FUninstallKey + "\\" + kMadeFoldersLogKey, made->second, opened.Id());
    FMadeFolders.erase(made);
  }
}

void TUninstallFileLog::LogFile(const std::string& Path, const TLoggedWrite& Written) {
  // A second run of the setup (a repair, an update) lists nothing twice.
  const std::string upper = fw::UpperCase(Path);
  if (FFiles.count(upper) == 0) {
    bool logged = TryLog(kFilesLogKey, Path);
    for (int n = 1; !logged && n <= kMaxFilesLogRetries; ++n)
      logged = TryLog(kFilesLogKey + std::to_string(n), Path);
    if (!logged)
      throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path,
                                FUninstallKey + "\\" + kFilesLogKey);
    FFiles.insert(upper);
  }
  LogRecord(Path, Written);
  LogMadeFolders(Path);
}

void TUninstallFileLog::LogActiveX(const std::string& Path, char Kind, const TLoggedWrite& Written) {
  const std::string entry = ActiveXEntry(Path, Kind);
  const std::string upper = fw::UpperCase(entry);
  if (FActiveX.count(upper) == 0) {
    if (!TryLog(kActiveXLogKey, entry))
      throw IECustomInstallFile("Cannot log the file %s for the uninstaller under %s", Path,
                                FUninstallKey + "\\" + kActiveXLogKey);
    FActiveX.insert(upper);
  }
  LogRecord(Path, Written);
  LogMadeFolders(Path);
}

void TUninstallFileLog::NoteFolderToMake(const std::string& Folder) {
  for (std::string folder = RemoveTrailingBackslash(Folder); folder.size() > 3; folder = ParentFolder(folder)) {
    const std::string upper = fw::UpperCase(folder);
    if (FFoldersThere.count(upper) != 0) return;
    FFoldersThere.insert(upper);
    if (IsFolder(folder)) return;
    FMadeFolders.emplace(upper, folder);
  }
}

bool IsFileLogged(const std::string& UninstallKey, const std::string& Path) {
  if (TUninstallFileLog* log = RunLogFor(UninstallKey)) return log->IsLogged(Path);
  return TUninstallFileLog(UninstallKey).IsLogged(Path);
}

bool IsSharedCountLogged(const std::string& UninstallKey, const std::string& Path) {
  if (TUninstallFileLog* log = RunLogFor(UninstallKey)) return log->IsCountedShared(Path);
  return TUninstallFileLog(UninstallKey).IsCountedShared(Path);
}

void LogInstalledFile(const std::string& UninstallKey, const std::string& Path, const TLoggedWrite& Written) {
  if (TUninstallFileLog* log = RunLogFor(UninstallKey)) return log->LogFile(Path, Written);
  TUninstallFileLog(UninstallKey).LogFile(Path, Written);
}

void LogActiveXFile(const std::string& UninstallKey, const std::string& Path, char Kind, const TLoggedWrite& Written) {
  if (TUninstallFileLog* log = RunLogFor(UninstallKey)) return log->LogActiveX(Path, Kind, Written);
  TUninstallFileLog(UninstallKey).LogActiveX(Path, Kind, Written);
}

void NoteRunFolderToMake(const std::string& Folder) {
  if (TUninstallFileLog* log = CurrentRunLog()) log->NoteFolderToMake(Folder);
}

}  // namespace setup
