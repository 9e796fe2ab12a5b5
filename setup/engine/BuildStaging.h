// The folder in which a build makes its files before they take their place in the build
// folder: a failed build leaves nothing that looks finished, and an earlier build's files
// stay until the new ones are complete.
#pragma once

#include <string>

namespace setup {

class TBuildStaging {
 public:
  // Creates Dir (with its parents) and an empty staging folder inside it; IEInstall
  // when that fails.
  explicit TBuildStaging(const std::string& Dir);
  // Without a commit the staging folder and everything in it are deleted.
  ~TBuildStaging();
  TBuildStaging(const TBuildStaging&) = delete;
  TBuildStaging& operator=(const TBuildStaging&) = delete;

  const std::string& Folder() const { return FFolder; }
  // Moves every file (and folder) made into the build folder, replacing what is there,
  // the file Last after all others; "files.1" of an earlier build is removed when this
  // build made none. IEInstall when a file cannot be moved.
  void Commit(const std::string& Last);

 private:
  std::string FDir;
  std::string FFolder;
  bool FCommitted = false;
};

// Deletes Folder with everything in it; false when something stayed.
bool DeleteFolderTree(const std::string& Folder);

}  // namespace setup
