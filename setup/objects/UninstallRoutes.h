// The machine's folders as the uninstaller sees them: the folders no log may remove
// (UninstallRules.h), each also by its final path, so that a route through another drive
// letter or a link judges alike, and whether a path is reached without a link on its way.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "UninstallRules.h"
#include "support/FileHandles.h"

namespace setup {

// The long form of a path (a short "PROGRA~1" part could hide a protected folder); of a
// path that does not exist, the long form of the part that exists, then the rest as given.
std::string LongPath(const std::string& Path);
// The same path, without regard to case.
bool SamePath(const std::string& A, const std::string& B);

// The folders of this machine that no log may remove: the Windows and system folders
// (sealed), the drive roots, the program, profile and shell folders, the temporary folder.
TFolderRules MachineFolderRules();

class TRoutes {
 public:
  explicit TRoutes(const TFolderRules& Rules);

  const TFolderRules& Rules() const { return FRules; }
  // Whether the opened entry is what Path (long, checked) names without a link on the
  // way, other than the machine's own folders' links.
  bool Direct(const std::string& Path, const TOpenedEntry& Opened) const;
  // Whether Path lies in the system folder itself (where shared libraries go).
  bool InSystemFolder(const std::string& Path) const;

 private:
  // Where Path finally lies when no link but the machine's own folders' is on its way.
  std::string ExpectedFinal(const std::string& Path) const;

  TFolderRules FRules;
  std::vector<std::pair<std::string, std::string>> FLinkedFolders;  // named, final
};

}  // namespace setup
