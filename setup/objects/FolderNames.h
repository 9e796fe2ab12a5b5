// The names in the folders an install writes to, read once per folder. A name that is
// not among them is known to be missing without asking the file system, which on a
// case-sensitive disk (Wine's) reads the whole folder for every missing name.
#pragma once

#include <set>
#include <string>
#include <unordered_map>

namespace setup {

class TFolderNames {
 public:
  // False when no file or folder of that name was in Path's folder when it was read
  // (on the first question about that folder), nor added since.
  bool MayExist(const std::string& Path);
  // Path now exists (a file the install made).
  void Add(const std::string& Path);

 private:
  std::set<std::string>& Folder(const std::string& Folder);

  std::unordered_map<std::string, std::set<std::string>> FFolders;  // by upper-case folder
};

}  // namespace setup
