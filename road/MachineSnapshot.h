// The parts of the machine a setup may touch, read before it runs and again after its
// uninstaller: registry trees and folders. Comparing the two tells what the setup left
// behind and what of the machine's own it changed or removed.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace road {

struct TWatchedKey {
  HKEY Root = nullptr;
  std::string Path;
  // Levels of subkeys read below the key: 0 reads its values and its subkeys' names only;
  // a negative depth reads every level.
  int Depth = -1;
  // A container of Windows' own (SharedDLLs, Help): Windows makes it for the first program
  // that writes into it and keeps it when the last entry goes, so only what it holds is
  // compared, not whether the key itself exists.
  bool WindowsContainer = false;
};

struct TWatchedFolder {
  std::string Path;
  bool Recursive = true;
};

// Item name ("HKLM\Path", "HKLM\Path -> Value", "C:\Folder\File") to what it holds.
using TSnapshotItems = std::map<std::string, std::string>;

// One line for each item added ("added ..."), removed ("removed ...") or changed
// ("changed ..."), in the order of the names.
std::vector<std::string> CompareSnapshots(const TSnapshotItems& Before, const TSnapshotItems& After);

class TMachineSnapshot {
 public:
  TMachineSnapshot(std::vector<TWatchedKey> Keys, std::vector<TWatchedFolder> Folders);
  // Watches one folder more.
  void Watch(TWatchedFolder Folder) { FFolders.push_back(std::move(Folder)); }
  // Reads every watched key and folder.
  TSnapshotItems Take() const;

 private:
  void AddKey(TSnapshotItems& Items, HKEY Root, const std::string& Path, int Depth, bool Container = false) const;
  void AddFolder(TSnapshotItems& Items, const std::string& Path, bool Recursive) const;

  std::vector<TWatchedKey> FKeys;
  std::vector<TWatchedFolder> FFolders;
};

}  // namespace road
