// The installation's side of the uninstall log of files (UninstallLogFormat.h): the
// "Files" and "ActiveX" lists it adds to, and what it records about each file it wrote
// (its contents, its shared count) and each folder it created, so that the uninstaller
// can tell what the installation made.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "UninstallLogFormat.h"

namespace setup {

// What a run did to a file it logs.
struct TLoggedWrite {
  // The content the run wrote there; none when it wrote nothing (the file was there and
  // kept): what an earlier run recorded then stays.
  std::optional<TFileIdentity> Content;
  // The content waits beside the file for the next restart: what an earlier run wrote
  // there, still in place until then, still counts as the installation's.
  bool WaitsForRestart = false;
  // The run counted the file under SharedDLLs (or found it counted by an earlier run).
  bool Shared = false;
};

// What the run wrote at Path (the content, read back from the file); no content when it
// cannot be read.
TLoggedWrite LoggedWriteAt(const std::string& Path);

// One product's log of installed files as an installation run knows it: read once when
// the run starts and kept up to date by every entry the run writes, so each lookup costs
// no registry call and a run stays linear in its files.
class TUninstallFileLog {
 public:
  // Reads the log under UninstallKey (below HKEY_LOCAL_MACHINE) as it is now.
  explicit TUninstallFileLog(std::string UninstallKey);

  const std::string& UninstallKey() const { return FUninstallKey; }
  // Whether the log names Path already, as a file or a COM file of any kind (in any case).
  bool IsLogged(const std::string& Path) const;
  // Whether the installation counted Path under SharedDLLs: its record says so; for a
  // path an earlier version of the setup logged, which recorded no such thing, its being
  // logged (that version logged a file counted as shared only once it had counted it).
  bool IsCountedShared(const std::string& Path) const;
  // Logs Path as the next "File<n>" in Files, trying the numbered subkeys when one cannot
  // take it; raises IECustomInstallFile when none of them can. A path the "Files" lists
  // name already is not logged again. Its record and the folders this run made for it
  // are logged in any case.
  void LogFile(const std::string& Path, const TLoggedWrite& Written);
  // Logs "Path;Kind" as the next "File<n>" in ActiveX, unless it is there; then as
  // LogFile.
  void LogActiveX(const std::string& Path, char Kind, const TLoggedWrite& Written);
  // Folder is about to be made: the levels of it that are missing are made by this run.
  // They are logged once a file below them is.
  void NoteFolderToMake(const std::string& Folder);

 private:
  // Writes Value as the next "File<n>" of the list List (a subkey of the product's key)
  // and counts it; false when the subkey cannot take it.
  bool TryLog(const std::string& List, const std::string& Value);
  void LogRecord(const std::string& Path, const TLoggedWrite& Written);
  void LogMadeFolders(const std::string& Path);

  std::string FUninstallKey;
  std::set<std::string> FFiles;    // upper-case paths the "Files" lists name
  std::set<std::string> FActiveX;  // upper-case "path;kind" entries of "ActiveX"
  std::map<std::string, TFileRecord> FRecords;  // by upper-case path
  std::map<std::string, std::string> FCounts;   // "Entries" texts by upper-case list name
  std::map<std::string, int> FNextNumbers;      // by upper-case list name: the number its next entry takes
  std::map<std::string, std::string> FMadeFolders;  // by upper case: folders this run made, not yet logged
  std::set<std::string> FFoldersThere;              // upper case: folders found there or made
};

// The same through the run's log when the engine keeps one for UninstallKey, else through
// a log read for the call.
void LogInstalledFile(const std::string& UninstallKey, const std::string& Path, const TLoggedWrite& Written);
void LogActiveXFile(const std::string& UninstallKey, const std::string& Path, char Kind, const TLoggedWrite& Written);
bool IsFileLogged(const std::string& UninstallKey, const std::string& Path);
bool IsSharedCountLogged(const std::string& UninstallKey, const std::string& Path);

// Folder is about to be made with every missing parent: while the engine runs, the run's
// log notes the levels that are missing (MakeFolderOfRun, InstallRunJournal.h, calls it).
void NoteRunFolderToMake(const std::string& Folder);

}  // namespace setup
