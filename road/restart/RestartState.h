// What a setup leaves for the next start of Windows, read and undone as a test needs it:
// the renames the system carries out at its start (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT), the RunOnce commands, and the setups' installation records.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace restart {

// One rename the next start carries out: Source is moved to Target (an empty Target
// deletes Source). Paths as Windows names them ("C:\..."), without the "\??\" prefix.
struct TPendingRename {
  std::string Source;
  std::string Target;
  bool ReplaceExisting = false;
  bool operator==(const TPendingRename&) const = default;
};

// The system's list in its order (empty when there is none).
std::vector<TPendingRename> PendingRenames();
// Removes the renames Which chooses, keeping every other in its order, and deletes the
// files they would have moved or deleted; how many were removed.
int CancelPendingRenames(const std::function<bool(const TPendingRename&)>& Which);
// Those whose source lies in Folder (or below).
int CancelPendingRenamesBelow(const std::string& Folder);

// A RunOnce value: the command the next start runs once.
struct TRunOnceEntry {
  HKEY Root = nullptr;  // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
  std::string Name;
  std::string Command;
};

// The RunOnce values of both roots whose names begin with Prefix (without regard to case).
std::vector<TRunOnceEntry> RunOnceEntries(const std::string& Prefix);
// Deletes the value; true when it is gone.
bool DeleteRunOnceEntry(const TRunOnceEntry& Entry);

// The subkey names of the installation records ("Install0", ...).
std::vector<std::string> InstallRecords();
// The unfinished list of a record: value name (the item) and data (its kind).
std::vector<std::pair<std::string, std::string>> UnfinishedItems(const std::string& Record);
// Deletes the record with everything below it, and the records' key when it is left empty.
void DeleteInstallRecord(const std::string& Name);

// What a setup may leave for the restart, undone when the object goes, also after a
// failed test: RunOnce values beginning with Prefix, installation records and pending
// renames (with their files) that were not there when it was made.
class TRestartLeftovers {
 public:
  explicit TRestartLeftovers(const std::string& RunOncePrefix);
  ~TRestartLeftovers();
  TRestartLeftovers(const TRestartLeftovers&) = delete;
  TRestartLeftovers& operator=(const TRestartLeftovers&) = delete;

  // Undoes what is left now; the destructor does it again.
  void Sweep() const;

 private:
  std::string FPrefix;
  std::vector<std::string> FRunOnceBefore, FRecordsBefore;
  std::vector<TPendingRename> FRenamesBefore;
};

}  // namespace restart
