// The restart after a reboot (RunOnce command and continuation) and the clean-up of the
// loader's temporary folder.
#include <windows.h>

#include <exception>
#include <fstream>

#include "Install.h"
#include "RestartCommands.h"
#include "archive/ArchiveText.h"
#include "core/Strings.h"
#include "gui/GuiStartup.h"
#include "gui/WinHandles.h"
#include "objects/InstallLists.h"
#include "support/PathStrings.h"
#include "support/Registry.h"
#include "support/Translator.h"
#include "support/WinFolders.h"

namespace setup {

void TCustomInstall::RegisterRunOnce() {
  bool selfExtract = FSwitches.Has(swSelfExtract);
  std::string setupFile = selfExtract ? GetSetupFileName() : std::string();
  std::string folder = selfExtract ? RemoveTrailingBackslash(ExtractFilePath(setupFile)) : FSourceDir;
  std::string command =
      RunOnceCommand(ProgramFileName(), selfExtract, ExtractFileName(setupFile), folder, FSwitches.Has(swCleanup));
  if (!AddRunOnceValue(kRunOnceValueName, command, true))
    throw IEInstall("Cannot register the install to be run on reboot in the RunOnce key in the registry");
}

void TCustomInstall::FinishAfterReboot() {
  BeginRunOutcome();
  FInstalling = true;
  std::string key;
  FindInstallRecord(false, key);
  if (InstallRecordKey() != nullptr) *InstallRecordKey() = key;
  if (TTranslator* translator = GlobalTranslator()) translator->SetTranslateIntoLanguage(ReadSavedLanguage());
  fw::TStringList lines;
  GetUnfinishedList(lines);
  ClearUnfinishedList();
  // Every item gets its turn; the first failure ends the continuation afterwards.
  std::exception_ptr firstFailure;
  for (int i = 0; i < lines.Count(); ++i) {
    try {
      ProcessUnfinishedLine(lines.Get(i));
    } catch (...) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
  }
  if (firstFailure) std::rethrow_exception(firstFailure);
  FinishGoodInstall();
}

void TCustomInstall::ProcessUnfinishedLine(const std::string& Line) {
  std::string item;
  int kind = 0;
  if (!ParseUnfinishedLine(Line, item, kind))
    throw IEInstall("There is an invalid entry for the unfinished install list %s", Line);
  if (kind == 1) {
    DeleteFileA(item.c_str());
    return;
  }
  if (kind != 0 || AllInstallObjects() == nullptr) return;
  std::vector<TInstallContainer*> objects = AllInstallObjects()->Items();
  for (TInstallContainer* object : objects)
    if (AllInstallObjects()->IndexOf(object) >= 0 && fw::SameText(object->Name(), item)) object->FinishAfterReboot();
}

bool TCustomInstall::LoaderMadeProgramFolder() const {
  std::string folder = GetProgramDir();
  // Never the distribution's own folder.
  if (folder.empty() || fw::SameText(AddTrailingBackslash(folder), AddTrailingBackslash(FSourceDir))) return false;
  char temp[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof(temp), temp);
  if (length == 0 || length > MAX_PATH) return false;
  char longTemp[MAX_PATH * 2];
  DWORD longLength = GetLongPathNameA(temp, longTemp, sizeof(longTemp));
  std::string tempFolder =
      longLength > 0 && longLength < sizeof(longTemp) ? std::string(longTemp, longLength) : std::string(temp, length);
  char longFolder[MAX_PATH * 2];
  DWORD folderLength = GetLongPathNameA(folder.c_str(), longFolder, sizeof(longFolder));
  std::string fullFolder =
      folderLength > 0 && folderLength < sizeof(longFolder) ? std::string(longFolder, folderLength) : folder;
  // A folder right below the temporary folder that holds the loader's mark.
  if (!fw::SameText(ExtractFilePath(RemoveTrailingBackslash(fullFolder)), AddTrailingBackslash(tempFolder)))
    return false;
  DWORD attributes = GetFileAttributesA((AddTrailingBackslash(folder) + kLoaderFolderMarker).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void TCustomInstall::CleanupLoadingProgram() {
  if (!FUseLoadingProgram || FSwitches.Has(swDebug) || !FSwitches.Has(swCleanup) || IsDesignTime(this)) return;
  if (!LoaderMadeProgramFolder()) return;
  bool proceed = true;
  if (OnBeforeCleanup) OnBeforeCleanup(this, proceed);
  if (!proceed) return;
  std::string folder = GetProgramDir();
  WIN32_FIND_DATAA found;
  if (fw::TFindHandle search{FindFirstFileA((AddTrailingBackslash(folder) + "*.*").c_str(), &found)}) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      DeleteFileA((AddTrailingBackslash(folder) + name).c_str());
    } while (FindNextFileA(search.Get(), &found));
  }
  // A process's current folder cannot be removed: the program leaves it for the folder
  // above (the loader started it in its own folder).
  std::string parent = folder;
  while (!parent.empty() && (parent.back() == '\\' || parent.back() == '/')) parent.pop_back();
  parent = parent.substr(0, parent.find_last_of("\\/") + 1);
  if (!parent.empty()) SetCurrentDirectoryA(parent.c_str());
  // Where the running program's file could be deleted, nothing is left to wait for.
  if (RemoveDirectoryA(folder.c_str())) return;
  // A library's host goes on running: no batch file removes its folder.
  if (fw::ModuleInstance() != GetModuleHandleA(nullptr)) return;
  WriteCleanupBatch();
}

void TCustomInstall::WriteCleanupBatch() {
  std::string batch = ChangeFileExt(GetTempFile(false), ".bat");
  std::ofstream out(batch, std::ios::binary | std::ios::trunc);
  out << CleanupBatchText(ProgramFileName(), GetProgramDir(), batch);
  out.close();
  if (!out) throw IEInstall("Cannot write the clean-up batch file %s", batch);
  FCleanupBatchFile = batch;
  FCleanupBatchWritten = true;
}

}  // namespace setup
