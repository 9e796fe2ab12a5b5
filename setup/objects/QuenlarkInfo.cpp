#include "QuenlarkInfo.h"

#include <windows.h>

#include "core/Strings.h"
#include "support/PathStrings.h"
#include "support/Registry.h"

namespace setup::QuenlarkInfo {

namespace {

std::string ReplaceText(std::string Text, const std::string& Macro, const std::string& Value) {
  std::string upper = fw::UpperCase(Text);
  for (size_t at = upper.find(Macro); at != std::string::npos; at = upper.find(Macro, at + Value.size())) {
    Text.replace(at, Macro.size(), Value);
    upper.replace(at, Macro.size(), Value);
  }
  return Text;
}

bool FileExistsAt(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::string GetLibraryDirectory(bool RaiseIfMissing) {
  std::string searchPath = ReadRegString(hkCurrentUser, kSearchPathKey, kSearchPathValue, "");
  if (!fw::Trim(searchPath).empty()) {
    std::string root = RemoveTrailingBackslash(ReadRegString(hkLocalMachine, kRootFolderKey, kRootFolderValue, ""));
    int count = CountDelimitedItems(searchPath, ';');
    for (int i = 1; i <= count; ++i) {
      std::string folder = fw::Trim(GetDelimitedItem(searchPath, i, ';'));
      folder = ReplaceText(ReplaceText(folder, kRootMacro, root), kQuenlarkRootMacro, root);
      if (folder.empty()) continue;
      if (FileExistsAt(AddTrailingBackslash(folder) + kMarkerFile)) return RemoveTrailingBackslash(folder);
    }
  }
  if (RaiseIfMissing) throw IENoQuenlarkPath("Cannot find the the Quenlark directory on the VCL library search path");
  return std::string();
}

}  // namespace setup::QuenlarkInfo
