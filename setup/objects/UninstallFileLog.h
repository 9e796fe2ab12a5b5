// The uninstall log of installed files: "File<n>" values in the "Files" subkey of the
// product's uninstall key (or in "Files1", "Files2", ... when a subkey is damaged), and
// COM-registered files in the "ActiveX" subkey with their kind.
#pragma once

#include <map>
#include <set>
#include <string>

namespace setup {

// Kinds of the "ActiveX" entries.
constexpr char kActiveXLibrary = '0';
constexpr char kActiveXServer = '1';
constexpr char kActiveXTypeLibrary = '2';

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
  // Logs Path as the next "File<n>" in Files, trying the numbered subkeys when one cannot
  // take it; raises IECustomInstallFile when none of them can. A path the "Files" lists
  // name already is not logged again.
  void LogFile(const std::string& Path);
  // Logs "Path;Kind" as the next "File<n>" in ActiveX, unless it is there.
  void LogActiveX(const std::string& Path, char Kind);

 private:
  // Writes Value as the next "File<n>" of the subkey Key and counts it; false when the
  // subkey cannot take it.
  bool TryLog(const std::string& Key, const std::string& Value);

  std::string FUninstallKey;
  std::set<std::string> FFiles;    // upper-case paths the "Files" lists name
  std::set<std::string> FActiveX;  // upper-case "path;kind" entries of "ActiveX"
  std::map<std::string, int> FNextNumbers;  // by upper-case subkey: the number its next entry takes
};

// The same through the run's log when the engine keeps one for UninstallKey, else through
// a log read for the call.
void LogInstalledFile(const std::string& UninstallKey, const std::string& Path);
void LogActiveXFile(const std::string& UninstallKey, const std::string& Path, char Kind);
bool IsFileLogged(const std::string& UninstallKey, const std::string& Path);

}  // namespace setup
