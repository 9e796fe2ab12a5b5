#include "MachineSnapshot.h"

#include "RegistryView.h"
#include "gui/WinHandles.h"

namespace road {

std::vector<std::string> CompareSnapshots(const TSnapshotItems& Before, const TSnapshotItems& After) {
  std::vector<std::string> lines;
  auto before = Before.begin();
  auto after = After.begin();
  while (before != Before.end() || after != After.end()) {
    if (after == After.end() || (before != Before.end() && before->first < after->first)) {
      lines.push_back("removed " + before->first);
      ++before;
    } else if (before == Before.end() || after->first < before->first) {
      lines.push_back("added " + after->first);
      ++after;
    } else {
      if (before->second != after->second) lines.push_back("changed " + after->first);
      ++before;
      ++after;
    }
  }
  return lines;
}

TMachineSnapshot::TMachineSnapshot(std::vector<TWatchedKey> Keys, std::vector<TWatchedFolder> Folders)
    : FKeys(std::move(Keys)), FFolders(std::move(Folders)) {}

TSnapshotItems TMachineSnapshot::Take() const {
  TSnapshotItems items;
  for (const TWatchedKey& key : FKeys) AddKey(items, key.Root, key.Path, key.Depth, key.WindowsContainer);
  for (const TWatchedFolder& folder : FFolders) AddFolder(items, folder.Path, folder.Recursive);
  return items;
}

void TMachineSnapshot::AddKey(TSnapshotItems& Items, HKEY Root, const std::string& Path, int Depth,
                              bool Container) const {
  if (!KeyExists(Root, Path)) return;
  const std::string name = RootName(Root) + (Path.empty() || Path[0] == '\\' ? "" : "\\") + Path;
  if (!Container) Items[name] = "key";
  for (const TRegValue& value : KeyValues(Root, Path))
    Items[name + " -> " + (value.Name.empty() ? "(default)" : value.Name)] =
        std::to_string(value.Type) + ":" + value.Data;
  for (const std::string& subkey : SubkeyNames(Root, Path)) {
    const std::string subPath = Path + "\\" + subkey;
    if (Depth == 0)
      Items[name + "\\" + subkey] = "key";
    else
      AddKey(Items, Root, subPath, Depth < 0 ? Depth : Depth - 1);
  }
}

void TMachineSnapshot::AddFolder(TSnapshotItems& Items, const std::string& Path, bool Recursive) const {
  WIN32_FIND_DATAA found;
  fw::TFindHandle find(FindFirstFileA((Path + "\\*").c_str(), &found));
  if (!find) return;
  Items[Path + "\\"] = "folder";
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string full = Path + "\\" + name;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      if (Recursive)
        AddFolder(Items, full, true);
      else
        Items[full + "\\"] = "folder";
    } else {
      const uint64_t size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      const uint64_t written =
          (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
      Items[full] = std::to_string(size) + "@" + std::to_string(written);
    }
  } while (FindNextFileA(find.Get(), &found));
}

}  // namespace road
