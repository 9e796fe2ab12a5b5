#include "DestinationPage.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "FolderNameRules.h"
#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "core/SysUtils.h"
#include "gui/WinHandles.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "support/Errors.h"
#include "support/FileAttributes.h"
#include "support/OpenFolderDialog.h"
#include "support/PathStrings.h"

namespace setup {

namespace {

// Whether Folder is Inner or holds it.
bool HoldsFolder(const std::string& Folder, const std::string& Inner) {
  if (Inner.size() < Folder.size() || fw::CompareText(Inner.substr(0, Folder.size()), Folder) != 0) return false;
  return Inner.size() == Folder.size() || Inner[Folder.size()] == '\\';
}

// The longest path, relative to Folder, of a file the installation puts below it.
size_t DeepestFileBelow(const std::string& Folder) {
  const std::string prefix = AddTrailingBackslash(Folder);
  size_t deepest = 0;
  TCustomInstallFileList* files = AllInstallFiles();
  if (files == nullptr) return 0;
  for (TCustomInstallFile* file : files->Items()) {
    std::string path;
    try {
      path = file->GetDestFileName();
    } catch (const std::exception&) {
      continue;  // a file whose folder cannot be named yet
    }
    if (path.size() > prefix.size() && fw::CompareText(path.substr(0, prefix.size()), prefix) == 0)
      deepest = std::max(deepest, path.size() - prefix.size());
  }
  return deepest;
}

// Whether a file can be made in Folder: a new file of a name nobody uses, deleted again;
// the system's error when none can be. (GetTempFileName is no probe: where the file
// cannot be made, Wine's answers with a name all the same.)
DWORD FolderWriteError(const std::string& Folder) {
  const std::string stem = AddTrailingBackslash(Folder) + "~qw" + std::to_string(GetCurrentProcessId()) + "_";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string probe = stem + std::to_string(attempt) + ".tmp";
    fw::TFileHandle file(
        CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (file) {
      file.Reset();
      DeleteFileA(probe.c_str());
      return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
  }
  return ERROR_FILE_EXISTS;
}

// Why the installation cannot make Folder or write into it, empty when it can. The
// folders made to find out go again: the installation makes them when it copies.
std::string FolderWriteProblem(const std::string& Folder) {
  std::vector<std::string> created = CreateFolderChain(Folder);
  const DWORD createError = GetLastError();
  if (!FolderExists(Folder)) {
    RemoveFolderChain(created, std::string());
    return fw::Format(TranslateEnglishText("The folder %s cannot be created.\n%s"), Folder,
                      SystemErrorText(createError));
  }
  std::string problem;
  if (const DWORD error = FolderWriteError(Folder); error != ERROR_SUCCESS)
    problem = fw::Format(TranslateEnglishText("Setup cannot write into the folder %s.\n%s"), Folder,
                         SystemErrorText(error));
  RemoveFolderChain(created, std::string());
  return problem;
}

}  // namespace

bool IsFullFolderPath(const std::string& Path) {
  std::string path = fw::Trim(Path);
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
      (path[2] == '\\' || path[2] == '/'))
    return true;
  // A share: two backslashes, a server, a backslash and a share name.
  if (path.size() < 5 || path.compare(0, 2, "\\\\") != 0) return false;
  size_t slash = path.find('\\', 2);
  return slash != std::string::npos && slash > 2 && slash + 1 < path.size();
}

std::vector<std::string> CreateFolderChain(const std::string& Folder) {
  std::vector<std::string> missing;
  std::string folder = RemoveTrailingBackslash(Folder);
  while (!folder.empty() && !FolderExists(folder)) {
    missing.insert(missing.begin(), folder);
    size_t slash = folder.find_last_of('\\');
    if (slash == std::string::npos || slash == 0) break;
    folder = RemoveTrailingBackslash(folder.substr(0, slash));
    if (folder.size() == 2 && folder[1] == ':') break;  // a drive
  }
  std::vector<std::string> created;
  for (const std::string& path : missing) {
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) break;
    created.push_back(path);
  }
  return created;
}

void RemoveFolderChain(const std::vector<std::string>& Created, const std::string& Kept) {
  std::string kept = RemoveTrailingBackslash(Kept);
  for (auto it = Created.rbegin(); it != Created.rend(); ++it) {
    if (!kept.empty() && HoldsFolder(*it, kept)) continue;
    RemoveDirectoryA(it->c_str());
  }
}

// --- TSelectDestinationForm ----------------------------------------------------------

const fw::TClass& TSelectDestinationForm::StaticClass() {
  using T = TSelectDestinationForm;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Field("lblText1", &T::lblText1)
                                    .Field("lblText2", &T::lblText2)
                                    .Field("lblText3", &T::lblText3)
                                    .Field("gbDirectory", &T::gbDirectory)
                                    .Field("edDestDir", &T::edDestDir)
                                    .Field("BrowseBtn", &T::BrowseBtn)
                                    .Method("edDestDirChange", &T::edDestDirChange)
                                    .Method("BrowseBtnClick", &T::BrowseBtnClick);
  return cls;
}

TSelectDestinationForm::TSelectDestinationForm(fw::TComponent* AOwner) : TWizardPage(AOwner, dmBeforeInstall, 45) {
  if (TInstallEngine* engine = GlobalInstall()) SetContainer(&engine->EngineContainer());
}

std::string TSelectDestinationForm::FolderRefusedText() {
  return TranslateEnglishText(
      "Please type the full path of the folder, beginning with a drive (such as C:\\) or a network share (such as "
      "\\\\Server\\Share).");
}

void TSelectDestinationForm::ShowPath(const std::string& Path) {
  FFilling = true;
  try {
    edDestDir->SetText(Path);
  } catch (...) {
    FFilling = false;
    throw;
  }
  FFilling = false;
}

void TSelectDestinationForm::UpdateControls() {
  std::string path = Container() != nullptr ? Container()->GetFullDestDir() : std::string();
  if (BackBtn != nullptr) BackBtn->SetVisible(!IsFirstPage());
  gbDirectory->SetVisible(!path.empty());
  ShowPath(path);
  FocusWhenShown(ProceedBtn);
}

std::string TSelectDestinationForm::FolderProblem(const std::string& Typed) const {
  if (!IsFullFolderPath(Typed)) return FolderRefusedText();
  const std::string folder = RemoveTrailingBackslash(fw::Trim(Typed));
  const size_t deepest = DeepestFileBelow(Container() != nullptr ? Container()->GetFullDestDir() : folder);
  const TFolderNameCheck name = CheckFolderName(folder, deepest);
  switch (name.Fault) {
    case TFolderNameFault::BadCharacter:
      return fw::Format(TranslateEnglishText("The folder's name holds \"%s\", which a file name cannot hold (nor any "
                                             "of < > : \" / | ? *). A typed letter that the system's character set "
                                             "lacks becomes \"?\"."),
                        name.Part);
    case TFolderNameFault::DeviceName:
      return fw::Format(TranslateEnglishText("\"%s\" is the name of a device: no folder can be called so."), name.Part);
    case TFolderNameFault::TooLong:
      return fw::Format(TranslateEnglishText("The folder's path is too long: the product's deepest file would have a "
                                             "path of %d characters there, and Windows allows %d at most. Please "
                                             "choose a shorter folder."),
                        static_cast<int>(folder.size() + 1 + deepest), static_cast<int>(kLongestPath));
    case TFolderNameFault::None:
      break;
  }
  return FolderWriteProblem(folder);
}

void TSelectDestinationForm::GoNext() {
  const std::string problem = gbDirectory->Visible() ? FolderProblem(edDestDir->Text()) : std::string();
  if (!problem.empty()) {
    MessageBoxA(HandleAllocated() ? Handle() : nullptr, BreakLongWords(problem, kLongestMessageWord).c_str(),
                Caption().c_str(), MB_OK | MB_ICONEXCLAMATION);
    if (edDestDir->HandleAllocated()) SetFocus(edDestDir->Handle());
    return;
  }
  TWizardPage::GoNext();
}

void TSelectDestinationForm::edDestDirChange(fw::TObject*) {
  if (FFilling || Container() == nullptr) return;
  Container()->SetDestDirType(nullptr);
  Container()->SetDestDir(edDestDir->Text());
}

void TSelectDestinationForm::BrowseBtnClick(fw::TObject*) {
  std::string path = Container() != nullptr ? Container()->GetFullDestDir() : edDestDir->Text();
  // The browser opens in the folder: made for it when missing, removed again unless the
  // user keeps it.
  std::vector<std::string> created;
  if (!fw::Trim(path).empty() && !FolderExists(path)) created = CreateFolderChain(path);
  std::string kept;
  try {
    TOpenFolderDialog dialog(nullptr);
    dialog.Directory = path;
    if (dialog.Execute()) {
      kept = RemoveTrailingBackslash(dialog.Directory);
      if (Container() != nullptr) {
        Container()->SetDestDirType(nullptr);
        Container()->SetDestDir(kept);
        ShowPath(Container()->DestDir());
      } else {
        ShowPath(kept);
      }
    }
  } catch (...) {
    RemoveFolderChain(created, std::string());
    throw;
  }
  RemoveFolderChain(created, kept);
}

}  // namespace setup
