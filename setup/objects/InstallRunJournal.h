// What one installation run makes and changes on the machine, noted first-hand as the
// run goes, so that a run that fails or is cancelled can be taken back exactly: the
// files, shortcuts and links it created and the folders it made, each with its identity;
// the files it replaced, whose old files it keeps aside until the run ends; the registry
// keys it created; the registry values and shared-file counts as they were before it
// changed them; the keys that COM registrations write, as they were before; and the
// product's uninstall key as it was when the run started. What existed before the run is
// never removed: only what the record shows the run made.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archive/FileSystem.h"

namespace setup {

class TSavedRegistryKey;

class TInstallRunJournal : public TReplacementRecord {
 public:
  // Remembers the uninstall key UninstallKey (below HKEY_LOCAL_MACHINE) as it is now.
  explicit TInstallRunJournal(std::string UninstallKey);
  // Deletes nothing: old files kept aside that neither Undo nor Complete handled stay.
  ~TInstallRunJournal();
  TInstallRunJournal(const TInstallRunJournal&) = delete;
  TInstallRunJournal& operator=(const TInstallRunJournal&) = delete;

  // Files. The archive tells of the files it writes (TReplacementRecord); the old file of
  // a replaced target is the journal's from then on.
  void FileCreated(const std::string& Path, const std::string& Id) override;
  void FileReplaced(const std::string& Target, const std::string& Id, const std::string& Aside) override;
  // A file the run has just made itself (a shortcut, an Internet shortcut, a hard link):
  // its identity is read now, the file opened as itself. Nothing when it is missing.
  void NoteCreatedFile(const std::string& Path);
  // A file that was there and that the run has just rewritten where it is; Aside is a
  // copy of it as it was, which is the journal's from now on (as a replaced file's).
  void NoteRewrittenFile(const std::string& Path, const std::string& Aside);

  // Makes Folder with every missing parent, noting each level it makes with its
  // identity. False when the folder cannot be made.
  bool MakeFolder(const std::string& Folder);

  // Registry keys and values; Root as TRootKeys numbers it.
  // Key is about to be opened for writing, made when missing: each missing level is
  // noted (a level that is a registry link is none of the run's).
  void NoteRegistryKey(int Root, const std::string& Key);
  // A value the run is about to write: an undo gives it its earlier type and data back,
  // or removes it when it was missing. Only the first note of a value counts.
  void NoteValueBefore(int Root, const std::string& Key, const std::string& Name);
  // The value as the run wrote it (after NoteValueBefore): an undo leaves a value that
  // no longer holds it alone and reports it.
  void NoteValueWritten(int Root, const std::string& Key, const std::string& Name);
  // A shared-file count (the SharedDLLs value Name) about to change; Before is its count
  // then, none when missing. Only the first note of a name counts.
  void NoteSharedCount(const std::string& Name, std::optional<uint32_t> Before);
  // A registry key that a registration is about to write, as it is now (Deep: with
  // everything below it; otherwise its values): an undo puts it back exactly. Only the
  // first note of a key counts.
  void NoteKeyBefore(int Root, const std::string& Key, bool Deep);
  // A registry key that a registration has just made (it was missing before): an undo
  // removes it whole.
  void NoteKeyCreated(int Root, const std::string& Key);

  // Takes the run back: gives replaced files their old files, removes what the run made
  // while it is still what the run made, gives values, counts and registrations their
  // earlier state and puts the uninstall key back as it was (or removes it when the run
  // made it). Returns what stayed, one line each. The journal is empty afterwards: what
  // the run does later can be taken back again.
  std::vector<std::string> Undo();
  // The run ended well: the old files of the targets it replaced go (one in use at the
  // next restart). The journal is empty afterwards.
  void Complete();

 private:
  struct TMadeEntry {
    std::string Path;
    std::string Id;
  };
  struct TReplaced {
    std::string Target;
    std::string Id;
    std::string Aside;
  };
  struct TCreatedKey {
    int Root;
    std::string Key;
  };
  struct TValueBefore;

  void RestoreSavedKeys(std::vector<std::string>& Report);
  void RestoreValues(std::vector<std::string>& Report);
  void RemoveCreatedKeys(std::vector<std::string>& Report);
  void RestoreSharedCounts();
  void RestoreReplacedFiles(std::vector<std::string>& Report);
  void RemoveCreatedFiles(std::vector<std::string>& Report);
  void RemoveCreatedFolders(std::vector<std::string>& Report);
  void RestoreUninstallKey(std::vector<std::string>& Report);
  void Clear();

  std::string FUninstallKey;
  std::unique_ptr<TSavedRegistryKey> FUninstallKeyBefore;
  std::vector<TMadeEntry> FCreatedFiles;    // in the order made
  std::vector<TMadeEntry> FCreatedFolders;  // parents before their children
  std::vector<TReplaced> FReplaced;         // in the order replaced
  std::vector<TCreatedKey> FCreatedKeys;    // parents before their children
  std::vector<TValueBefore> FValuesBefore;
  std::vector<std::pair<std::string, std::optional<uint32_t>>> FSharedCountsBefore;
  std::vector<std::unique_ptr<TSavedRegistryKey>> FSavedKeys;  // in the order noted
};

// The journal of the engine's current run: from the start of its objects until the run
// is complete; nil otherwise.
TInstallRunJournal* CurrentRunJournal();
// While it lives, the file Path is being made by the current run (when a run is going
// on): a file that was not there is noted with its identity when the object goes, also
// after a failure (a part that is left goes with the run); one that was there is copied
// aside first, so that an undo gives it back as it was (unless Rewrites is false: the
// making never writes over a file that is there).
class TFileOfRun {
 public:
  explicit TFileOfRun(std::string Path, bool Rewrites = true);
  ~TFileOfRun();
  TFileOfRun(const TFileOfRun&) = delete;
  TFileOfRun& operator=(const TFileOfRun&) = delete;

 private:
  TInstallRunJournal* FJournal;
  std::string FPath;
  bool FExisted = false;
  std::string FAside;
};

// Makes Folder with its missing parents. While a run is going on, the levels it makes are
// noted by the run's journal (an undo removes them) and by the run's uninstall log (the
// uninstaller removes them). False when it cannot be made.
bool MakeFolderOfRun(const std::string& Folder);

}  // namespace setup
