// What one installation run adds to the machine, noted as the run goes, so that a run
// that fails or is cancelled can be taken back: the files and shortcuts it created, the
// registry keys and values it created, the shared-file counts as they were before it
// changed them, and the product's uninstall key as it was when the run started.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace setup {

struct TRegistrySnapshot;

class TInstallRunJournal {
 public:
  // Remembers the uninstall key UninstallKey (below HKEY_LOCAL_MACHINE) as it is now.
  explicit TInstallRunJournal(std::string UninstallKey);
  ~TInstallRunJournal();
  TInstallRunJournal(const TInstallRunJournal&) = delete;
  TInstallRunJournal& operator=(const TInstallRunJournal&) = delete;

  // A folder the run is about to make (with its parents) when missing: an undo removes
  // what of it the run made, once empty, and keeps the deepest part that was there.
  void NoteFolder(const std::string& Path);
  // A file or shortcut that was not there before the run; Shared: one that is counted
  // under SharedDLLs (it goes like a shared file whose last use ends).
  void NoteCreatedFile(const std::string& Path, bool Shared = false);
  // A COM file (kind as the uninstall log's "ActiveX" entries) that was not there before.
  void NoteCreatedActiveXFile(const std::string& Path, char Kind, bool Shared = false);
  // A shared-file count (the SharedDLLs value Name) about to change; Before is its count
  // then, none when missing. Only the first note of a name counts.
  void NoteSharedCount(const std::string& Name, std::optional<uint32_t> Before);
  // A registry value the run is about to change (root as the uninstall log numbers it):
  // an undo gives it its earlier content back, or removes it when it was missing. Only
  // the first note of a value counts.
  void NoteValueBefore(int Root, const std::string& Key, const std::string& Name);
  // A registry key (root as the uninstall log numbers it) the run is about to create.
  void NoteCreatedRegistryKey(int Root, const std::string& Key);
  // A value of a registry key that the run is about to create, with its data as the
  // uninstall log holds it (a number in decimal).
  void NoteCreatedRegistryValue(int Root, const std::string& Key, const std::string& Name, const std::string& Data);

  // Takes the run back: removes what it created the way the uninstaller removes a
  // product, gives the shared-file counts their earlier values and puts the uninstall key
  // back as it was (or removes it when the run made it). Returns what stayed, one line
  // each. Whatever was there before the run stays; files the run replaced stay replaced.
  // The journal is empty afterwards: what the run does later can be taken back again.
  std::vector<std::string> Undo();

 private:
  struct TCreatedKey {
    int Root;
    std::string Key;
    std::vector<std::pair<std::string, std::string>> Values;  // name and data
  };
  void CountUncountedSharedFiles();
  void RemoveCreatedFolders() const;
  void RestoreFolders() const;
  void RestoreSharedCounts();
  void RestoreValues();
  void RestoreUninstallKey();

  std::string FUninstallKey;
  std::unique_ptr<TRegistrySnapshot> FUninstallKeyBefore;  // nil when the key was missing
  std::vector<std::string> FFoldersBefore;  // folders there before the run, below which it made some
  std::vector<std::string> FCreatedFolders;  // folders the run made (their parents too, up to those before)
  std::string FLastFolder;                   // the folder noted last
  std::vector<std::string> FCreatedFiles;
  std::vector<std::string> FCreatedActiveX;  // "path;kind"
  std::vector<std::string> FCreatedShared;   // the shared ones of both
  std::vector<std::pair<std::string, std::optional<uint32_t>>> FSharedCountsBefore;
  std::vector<TCreatedKey> FCreatedKeys;
  struct TValueBefore;
  std::vector<TValueBefore> FValuesBefore;
};

// The journal of the engine's current run: from the start of its objects until the run
// is complete; nil otherwise.
TInstallRunJournal* CurrentRunJournal();

}  // namespace setup
