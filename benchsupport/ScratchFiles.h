// Files for test and benchmark programs: a scratch folder of their own that goes when the
// program is done with it, removal of a whole folder tree, and writing and reading whole files.
#pragma once

#include <string>
#include <vector>

namespace benchsupport {

// Removes a folder with everything in it (read-only files too); a plain file is deleted.
// True when nothing is left at Path (also when it was not there).
bool RemoveTree(const std::string& Path);

// Writes Content as the whole file (bytes as given), making missing parent folders.
// Throws std::runtime_error when the file cannot be written.
void WriteFile(const std::string& FileName, const std::string& Content);
// The whole file's bytes; throws std::runtime_error when it cannot be read.
std::string ReadFile(const std::string& FileName);
// Whether Path names a file (not a folder) / a folder.
bool FileExists(const std::string& Path);
bool FolderExists(const std::string& Path);
// The names of what Folder holds (files and folders, without "." and ".."), in the
// system's order; none when it cannot be listed.
std::vector<std::string> NamesIn(const std::string& Folder);
// The folder of the running program (without a trailing backslash), and the path of
// Name in it: where the build puts what its programs run.
std::string ProgramFolder();
std::string BesideProgram(const std::string& Name);

// A new, empty folder below the temporary folder, named after Prefix, the process and a
// counter so that tests running side by side never share one. Removed with its contents
// when the object goes.
class TScratchFolder {
 public:
  explicit TScratchFolder(const std::string& Prefix = "test");
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::string& Path() const { return FPath; }
  // Path + "\" + Relative.
  std::string operator/(const std::string& Relative) const { return FPath + "\\" + Relative; }

 private:
  std::string FPath;
};

}  // namespace benchsupport
