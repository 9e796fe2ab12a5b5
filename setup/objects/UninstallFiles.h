// The uninstaller's judgement of the files and folders a log names, and their removal. A
// logged file goes only when the installation's own record shows it made it: the file
// is still what the installation wrote there (size and digest as recorded), or it lies in
// a folder the installation created (still that same folder). In both cases it must be
// reached without a link on its way, be no file of Windows (UninstallWindowsFiles.h) and
// lie outside the Windows folder and the drive roots (UninstallRules.h); a link is never
// followed (inside a folder the installation made it goes itself). A file the installation
// counted as shared gives back that one use and goes when no program uses it any more
// (from the system folder only after the user's yes); a count it did not record is
// another program's, and the file stays. A logged program or library is run or loaded to
// unregister it only when it is the installation's own file unchanged, and only while it
// is held against writing and deleting. Whatever stays is named in the report.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "UninstallLogFormat.h"
#include "UninstallRoutes.h"
#include "UninstallSharedCounts.h"
#include "UninstallWindowsFiles.h"

namespace setup {

// Asked before a shared file (counted under SharedDLLs) that no program uses any more
// is deleted from the system folder: true lets it go.
using TSharedFileQuestion = std::function<bool(const std::string& Path)>;

class TFileRemoval {
 public:
  // NotRemoved receives one line for each thing that stays. RunningProgram: the running
  // uninstaller (empty when there is none), never deleted with the other files; OwnProgram:
  // the same when the product's uninstall command names it (RemoveOwnProgram).
  TFileRemoval(const TFolderRules& Rules, const TSharedFileQuestion& RemoveShared, std::string RunningProgram,
               std::string OwnProgram, std::vector<std::string>& NotRemoved);

  // The folders Log records as created by the installation that are still those folders.
  void FindMadeFolders(const TUninstallLog& Log);
  // Unregisters and deletes the "ActiveX" entries, then deletes the "Files" entries.
  void RemoveFiles(const TUninstallLog& Log);
  // Whether the running program that the uninstall command names may go as a file of the
  // installation.
  bool OwnProgramMayGo(const TUninstallLog& Log);
  // Moves the running program to a fresh name in the temporary folder (a rename on its
  // volume, which Windows allows while it runs) and has that name deleted at the next
  // restart. On another volume the program and its folder are left for the next restart.
  void RemoveOwnProgram();
  // The folders the installation made, once empty, the deepest first; a made folder that
  // is no longer that folder, or not empty, stays and is named.
  void RemoveMadeFolders();

 private:
  // A made folder found as it was made.
  struct TFoundFolder {
    std::string Path;  // final path
    std::string Id;
  };

  // Judges the logged file and deletes it when it may go. Kind: the registration to take
  // back first ('0', '1', '2'), 0 for none.
  void JudgeAndDelete(const std::string& Logged, const TFileRecord* Record, char Kind);
  // Whether Final lies in a folder the installation made.
  bool InMadeFolder(const std::string& Final) const;
  // The user's answer for a shared file nobody uses any more, asked once for each file.
  bool AskedShared(const std::string& Id, const std::string& Path);
  // The help registration of a help file that went, when it names the file's folder.
  static void RemoveHelpRegistration(const std::string& Path);
  void NotRemoved(const std::string& Line) { FNotRemoved.push_back(Line); }

  TRoutes FRoutes;
  const TSharedFileQuestion& FRemoveShared;
  std::string FRunningProgram;
  std::string FOwnProgram;
  bool FOwnProgramGoes = false;
  std::vector<std::string>& FNotRemoved;
  TWindowsFiles FWindowsFiles;
  TSharedCounts FShares;
  std::map<std::string, TFoundFolder> FMadeFolders;  // by upper-case final path
  std::vector<std::string> FChangedFolders;         // logged, no longer the folder made
  std::map<std::string, bool> FAnswers;             // by upper-case final path
  std::set<std::string> FDone;                      // upper-case final paths: judged once
};

}  // namespace setup
