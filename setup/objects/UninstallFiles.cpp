#include "UninstallFiles.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "FileRegistration.h"
#include "UninstallRegistration.h"
#include "support/Errors.h"
#include "support/FileHandles.h"
#include "support/RegistryObject.h"

namespace setup {

namespace {

size_t Depth(const std::string& Path) {
  return static_cast<size_t>(std::count(Path.begin(), Path.end(), '\\'));
}

bool IsEmptyFolder(const std::string& Folder) {
  WIN32_FIND_DATAA found;
  fw::TFindHandle find(FindFirstFileA((Folder + "\\*").c_str(), &found));
  if (!find) return false;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") return false;
  } while (FindNextFileA(find.Get(), &found));
  return true;
}

// Whether the file is still one of the contents the record names.
bool IsRecordedContent(const THeldFile& Held, const TFileRecord& Record) {
  TFileIdentity now;
  return Held.ReadIdentity(now) && std::find(Record.Contents.begin(), Record.Contents.end(), now) != Record.Contents.end();
}

// A path the rules let go, by itself and by its final path.
bool MayDelete(const TFolderRules& Rules, const std::string& Path, const std::string& Final) {
  std::string checked;
  return Rules.MayDeleteFile(Path) && NormalizePath(Final, checked) && Rules.MayDeleteFile(Final);
}

}  // namespace

TFileRemoval::TFileRemoval(const TFolderRules& Rules, const TSharedFileQuestion& RemoveShared,
                           std::string RunningProgram, std::string OwnProgram, std::vector<std::string>& NotRemoved)
    : FRoutes(Rules),
      FRemoveShared(RemoveShared),
      FRunningProgram(RunningProgram.empty() ? std::string() : LongPath(RunningProgram)),
      FOwnProgram(std::move(OwnProgram)),
      FNotRemoved(NotRemoved) {}

void TFileRemoval::FindMadeFolders(const TUninstallLog& Log) {
  for (const TMadeFolder& made : Log.MadeFolders) {
    std::string checked;
    if (!NormalizePath(made.Path, checked)) {
      NotRemoved(made.Path + " (not a plain full path of a folder)");
      continue;
    }
    const std::string path = LongPath(checked);
    TOpenedEntry opened(path);
    if (!opened.Opened()) {
      if (!opened.Missing()) NotRemoved(path + " (" + SystemErrorText(opened.Error()) + ")");
      continue;
    }
    const std::string& final = opened.FinalPath();
    // A folder Windows or every program keeps is never the installation's, whatever the
    // log says.
    if (!FRoutes.Rules().MayRemoveFolder(path) || !NormalizePath(final, checked) ||
        !FRoutes.Rules().MayRemoveFolder(final)) {
      NotRemoved(path + " (a folder of Windows, of the user or of every program; kept)");
      continue;
    }
    if (!opened.IsFolder() || opened.IsLink() || !FRoutes.Direct(path, opened) || opened.Id() != made.Id) {
      FChangedFolders.push_back(path);
      continue;
    }
    FMadeFolders[fw::UpperCase(final)] = {final, made.Id};
  }
}

bool TFileRemoval::InMadeFolder(const std::string& Final) const {
  if (FMadeFolders.empty()) return false;
  for (std::string folder = ParentFolder(Final); !folder.empty(); folder = ParentFolder(folder))
    if (FMadeFolders.count(fw::UpperCase(folder)) != 0) return true;
  return false;
}

void TFileRemoval::RemoveFiles(const TUninstallLog& Log) {
  for (const TLoggedActiveX& entry : Log.ActiveX) {
    if (entry.Path.empty()) {
      NotRemoved(entry.Entry + " (not a registration entry)");
      continue;
    }
    // A file is registered by the kind its name gives: another kind is no entry an
    // installation wrote.
    if (entry.Kind != ActiveXKindOfName(entry.Path)) {
      NotRemoved(entry.Entry + " (not the registration an installation logs for such a file)");
      continue;
    }
    JudgeAndDelete(entry.Path, Log.RecordOf(entry.Path), entry.Kind);
  }
  for (const std::string& file : Log.Files) JudgeAndDelete(file, Log.RecordOf(file), 0);
}

void TFileRemoval::JudgeAndDelete(const std::string& Logged, const TFileRecord* Record, char Kind) {
  std::string checked;
  if (!NormalizePath(Logged, checked)) {
    NotRemoved(Logged + " (not a plain full path of a file)");
    return;
  }
  // A file to run or load is held against deletion while it is judged: it is opened to
  // be deleted only afterwards.
  TOpenedEntry opened(checked, false, Kind == 0);
  if (!opened.Opened()) {
    if (!opened.Missing()) {
      NotRemoved(checked + " (" + SystemErrorText(opened.Error()) + ")");
    } else if (Record != nullptr && Record->Shared) {
      // Gone already: the use the installation counted is given back all the same.
      const std::string path = LongPath(checked);
      FShares.Release(fw::UpperCase(path), {checked, path});  // by the path: it has no final path
    }
    return;
  }
  // Only a generated short name ("PROGRA~1") differs from the long one.
  const std::string path = checked.find('~') == std::string::npos ? checked : LongPath(checked);
  const std::string& final = opened.FinalPath();
  // Where the system opens what a link leads to instead of the link (Wine), even a link in
  // the installation's own folder stays: deleting it there would delete what it leads to.
  if (!FRoutes.Direct(path, opened)) {
    NotRemoved(path + " (reached through a link or another drive: " + final + ")");
    return;
  }
  if (opened.IsFolder()) {
    NotRemoved(path + " (a folder, not a file)");
    return;
  }
  if (!FRunningProgram.empty() && SamePath(path, FRunningProgram)) {
    // It goes last, on its own way, when the uninstall command names it and it is the
    // installation's.
    if (FOwnProgram.empty())
      NotRemoved(path + " (the running uninstaller, which the uninstall command does not name; kept)");
    else if (!FOwnProgramGoes)
      NotRemoved(path + " (the running uninstaller; no record that this installation wrote it; kept)");
    return;
  }
  const bool inMadeFolder = InMadeFolder(final);
  if (opened.IsLink()) {
    // A link in the installation's own folder goes itself; what it leads to stays.
    DWORD error = ERROR_SUCCESS;
    if (!inMadeFolder)
      NotRemoved(path + " (a link; neither it nor what it leads to is removed)");
    else if (!opened.Delete(error))
      NotRemoved(path + " (" + SystemErrorText(error) + ")");
    return;
  }
  // Each file once, however often and by whatever route it is logged.
  const std::string done = fw::UpperCase(final);
  if (!FDone.insert(done).second) return;
  if (FWindowsFiles.IsWindowsFile(final)) {
    NotRemoved(path + " (a file of Windows itself; kept)");
    return;
  }
  // The installation's own file unchanged: held while it is judged (and unregistered), so
  // that it stays the file that was read.
  std::unique_ptr<THeldFile> held;
  bool unchanged = false;
  if (Record != nullptr && !Record->Contents.empty() && (Kind != 0 || !inMadeFolder)) {
    held = std::make_unique<THeldFile>(path, Kind == 0);
    unchanged = held->Held() && held->Id() == opened.Id() && IsRecordedContent(*held, *Record);
  }
  const bool own = unchanged || inMadeFolder;
  const std::string notOwn = Record != nullptr && !Record->Contents.empty()
                                 ? " (changed since this installation wrote it; kept)"
                                 : " (no record that this installation wrote it; kept)";
  // The use the installation counted is given back whatever became of the file; a count
  // it did not record is another program's.
  const std::vector<std::string> names{checked, path, final};
  TShare share = TShare::NotShared;
  if (Record != nullptr && Record->Shared) {
    share = FShares.Release(done, names);
  } else if (own && FShares.IsCounted(names)) {
    NotRemoved(path + " (counted as used by other programs; kept)");
    return;
  }
  if (share == TShare::StillUsed) return;  // the other programs' now
  if (!own) {
    NotRemoved(path + notOwn);
    return;
  }
  const bool allowed = MayDelete(FRoutes.Rules(), path, final);
  if (!allowed) {
    if (share != TShare::Released || !FRoutes.InSystemFolder(final)) {
      NotRemoved(path + " (in a drive's root or the Windows folder; kept)");
      return;
    }
    if (!AskedShared(done, final)) return;
  }
  if (Kind != 0) {
    if (!unchanged)
      NotRemoved("the registration of " + path + " (changed since this installation wrote it: neither run nor loaded)");
    else if (!UnregisterFile(final, Kind))
      NotRemoved("the registration of " + path);
  }
  held.reset();
  DWORD error = ERROR_SUCCESS;
  if (!opened.Delete(error)) {
    NotRemoved(path + " (" + SystemErrorText(error) + ")");
    return;
  }
  RemoveHelpRegistration(path);
}

bool TFileRemoval::AskedShared(const std::string& Id, const std::string& Path) {
  if (auto asked = FAnswers.find(Id); asked != FAnswers.end()) return asked->second;
  bool answer = false;
  if (!FRemoveShared)
    NotRemoved(Path + " (a shared file that no program uses any more; kept)");
  else
    answer = FRemoveShared(Path);
  FAnswers[Id] = answer;
  return answer;
}

void TFileRemoval::RemoveHelpRegistration(const std::string& Path) {
  const std::string name = fw::UpperCase(Path.substr(Path.find_last_of('\\') + 1));
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (name.substr(dot) != ".HLP" && name.substr(dot) != ".CNT")) return;
  TqnlkRegistry help;
  help.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!help.OpenKey(kHelpKey, false)) return;
  std::string folder;
  try {
    folder = help.ReadString(name);
  } catch (const ERegistryException&) {
    return;
  }
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (!folder.empty() && SamePath(LongPath(folder), ParentFolder(Path))) RegDeleteValueA(help.CurrentKey(), name.c_str());
}

bool TFileRemoval::OwnProgramMayGo(const TUninstallLog& Log) {
  if (FOwnProgram.empty()) return false;
  TOpenedEntry opened(FOwnProgram);
  bool own = opened.Opened() && !opened.IsFolder() && !opened.IsLink() && FRoutes.Direct(FOwnProgram, opened) &&
             !FWindowsFiles.IsWindowsFile(opened.FinalPath());
  if (own && !InMadeFolder(opened.FinalPath())) {
    const TFileRecord* record = Log.RecordOf(FOwnProgram);
    TFileIdentity now;
    own = record != nullptr && ReadFileIdentity(FOwnProgram, now) &&
          std::find(record->Contents.begin(), record->Contents.end(), now) != record->Contents.end();
  }
  FOwnProgramGoes = own;
  return own;
}

void TFileRemoval::RemoveOwnProgram() {
  if (!FOwnProgramGoes) return;
  const std::string& program = FOwnProgram;
  char folder[MAX_PATH + 1], parked[MAX_PATH + 1];
  DWORD error = ERROR_PATH_NOT_FOUND;
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length > 0 && length < sizeof folder && GetTempFileNameA(folder, "uni", 0, parked) != 0) {
    if (MoveFileExA(program.c_str(), parked, MOVEFILE_REPLACE_EXISTING)) {
      MoveFileExA(parked, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
      return;
    }
    error = GetLastError();
    DeleteFileA(parked);
  }
  if (MoveFileExA(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    const std::string own = ParentFolder(program);
    if (FMadeFolders.count(fw::UpperCase(own)) != 0) MoveFileExA(own.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    NotRemoved(program + " (removed at the next restart)");
  } else {
    NotRemoved(program + " (" + SystemErrorText(error) + ")");
  }
}

void TFileRemoval::RemoveMadeFolders() {
  for (const std::string& folder : FChangedFolders)
    NotRemoved(folder + " (no longer the folder this installation made; kept)");
  std::vector<const TFoundFolder*> folders;
  for (const auto& [key, folder] : FMadeFolders) folders.push_back(&folder);
  // The deepest first, so a parent is empty when its turn comes.
  std::stable_sort(folders.begin(), folders.end(),
                   [](const TFoundFolder* a, const TFoundFolder* b) { return Depth(a->Path) > Depth(b->Path); });
  std::vector<std::string> kept;
  for (const TFoundFolder* folder : folders) {
    TOpenedEntry opened(folder->Path);
    if (!opened.Opened() || !opened.IsFolder() || opened.IsLink() || opened.Id() != folder->Id) continue;
    DWORD error = ERROR_DIR_NOT_EMPTY;
    if (IsEmptyFolder(folder->Path) && opened.Delete(error)) continue;
    // Named once: a folder kept because a kept folder is inside it says nothing new.
    const bool below = std::any_of(kept.begin(), kept.end(), [&](const std::string& inner) {
      return IsSameOrParent(folder->Path, inner);
    });
    if (!below)
      NotRemoved(folder->Path + (error == ERROR_DIR_NOT_EMPTY ? std::string(" (not empty; kept)")
                                                               : " (" + SystemErrorText(error) + ")"));
    kept.push_back(folder->Path);
  }
}

}  // namespace setup
