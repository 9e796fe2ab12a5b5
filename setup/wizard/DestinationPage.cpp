#include "DestinationPage.h"

#include <windows.h>

#include <cctype>

#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "support/Errors.h"
#include "support/OpenFolderDialog.h"
#include "support/PathStrings.h"

namespace setup {

namespace {

bool FolderExists(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Whether Folder is Inner or holds it.
bool HoldsFolder(const std::string& Folder, const std::string& Inner) {
  if (Inner.size() < Folder.size() || fw::CompareText(Inner.substr(0, Folder.size()), Folder) != 0) return false;
  return Inner.size() == Folder.size() || Inner[Folder.size()] == '\\';
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

void TSelectDestinationForm::GoNext() {
  if (gbDirectory->Visible() && !IsFullFolderPath(edDestDir->Text())) {
    MessageBoxA(HandleAllocated() ? Handle() : nullptr, FolderRefusedText().c_str(), Caption().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
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
