#include "FolderNames.h"

#include <windows.h>

#include "archive/ArchiveText.h"
#include "gui/WinHandles.h"
#include "support/PathStrings.h"

namespace setup {

namespace {
// Windows compares file names without case; ASCII folding is enough for a set that
// only ever says "maybe" for the names in it.
std::string Folded(std::string Text) {
  for (char& c : Text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return Text;
}
}  // namespace

std::set<std::string>& TFolderNames::Folder(const std::string& Path) {
  std::string key = Folded(RemoveTrailingBackslash(Path));
  auto found = FFolders.find(key);
  if (found != FFolders.end()) return found->second;
  std::set<std::string>& names = FFolders[key];
  WIN32_FIND_DATAA data;
  fw::TFindHandle find(FindFirstFileA((AddTrailingBackslash(Path) + "*").c_str(), &data));
  if (find.Valid()) {
    do {
      names.insert(Folded(data.cFileName));
      if (data.cAlternateFileName[0] != '\0') names.insert(Folded(data.cAlternateFileName));
    } while (FindNextFileA(find.Get(), &data));
  }
  return names;
}

bool TFolderNames::MayExist(const std::string& Path) {
  return Folder(ExtractFilePath(Path)).count(Folded(ExtractFileName(Path))) != 0;
}

void TFolderNames::Add(const std::string& Path) {
  Folder(ExtractFilePath(Path)).insert(Folded(ExtractFileName(Path)));
}

}  // namespace setup
