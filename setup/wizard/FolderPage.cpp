#include "FolderPage.h"

#include <windows.h>

#include "core/ClassDef.h"
#include "gui/WinHandles.h"
#include "objects/InstallContainer.h"
#include "objects/InstallLists.h"
#include "objects/ShellLinks.h"
#include "paths/PathSpecifier.h"
#include "paths/StandardSpecifiers.h"
#include "support/OSVersion.h"

namespace setup {

TInstallContainer* FindMainLinkGroup() {
  return MainLinkGroup();
}

void ListProgramMenuFolders(fw::TStrings& List) {
  List.Clear();
  constexpr OSSet kListed{oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP};
  if (!kListed.Contains(GetOSVersion())) return;
  TStandardPathSpecList* standard = StandardPathSpecifiers();
  TCustomPathSpecifier* programs = standard != nullptr ? standard->Find(TpsProgramMenu::StaticClass()) : nullptr;
  if (programs == nullptr) return;
  std::string folder = programs->GetPath(nullptr);
  if (folder.empty()) return;
  WIN32_FIND_DATAA data;
  fw::TFindHandle find(FindFirstFileA((folder + "\\*.*").c_str(), &data));
  if (!find) return;
  do {
    std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." && name != "..") List.Add(name);
  } while (FindNextFileA(find.Get(), &data));
}

// --- TSelectFolderForm ---------------------------------------------------------------

const fw::TClass& TSelectFolderForm::StaticClass() {
  using T = TSelectFolderForm;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Field("TopDescriptionLabel", &T::TopDescriptionLabel)
                                    .Field("ProgramFolders", &T::ProgramFolders)
                                    .Field("ExistingFolders", &T::ExistingFolders)
                                    .Field("FolderEdit", &T::FolderEdit)
                                    .Field("FolderListBox", &T::FolderListBox)
                                    .Field("Label1", &T::Label1)
                                    .Field("Label3", &T::Label3)
                                    .Field("Label4", &T::Label4)
                                    .Method("FormResize", &T::FormResize)
                                    .Method("FolderEditChange", &T::FolderEditChange)
                                    .Method("FolderListBoxClick", &T::FolderListBoxClick);
  return cls;
}

TSelectFolderForm::TSelectFolderForm(fw::TComponent* AOwner) : TWizardPage(AOwner, dmBeforeInstall, 60) {
  SetContainer(FindMainLinkGroup());
}

bool TSelectFolderForm::SkipPage() {
  return Container() == nullptr;
}

std::string TSelectFolderForm::CurrentFolderName() const {
  TInstallContainer* group = Container();
  if (group == nullptr || dynamic_cast<TpsProgramMenu*>(group->DestDirType()) == nullptr) return std::string();
  // The whole folder below Programs, as the user typed it.
  std::string folder = group->DestDir();
  size_t start = folder.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : folder.substr(start);
}

void TSelectFolderForm::UpdateControls() {
  if (BackBtn != nullptr) BackBtn->SetVisible(!IsFirstPage());
  ListProgramMenuFolders(FolderListBox->Items());
  FolderEdit->SetText(CurrentFolderName());
  if (FolderEdit->Text().empty() && FolderListBox->Items().Count() > 0)
    FolderEdit->SetText(FolderListBox->Items().Get(0));
  FocusWhenShown(ProceedBtn);
}

void TSelectFolderForm::FolderEditChange(fw::TObject*) {
  TInstallContainer* group = Container();
  if (group == nullptr) return;
  TStandardPathSpecList* standard = StandardPathSpecifiers();
  group->SetDestDirType(standard != nullptr ? standard->Find(TpsProgramMenu::StaticClass()) : nullptr);
  group->SetDestDir("\\" + FolderEdit->Text());
}

void TSelectFolderForm::FormResize(fw::TObject*) {
  if (Label1 != nullptr) Label1->SetHeight(18);
  if (Label3 != nullptr) Label3->SetHeight(8);
  if (Label4 != nullptr) Label4->SetHeight(8);
}

void TSelectFolderForm::FolderListBoxClick(fw::TObject*) {
  int index = FolderListBox->ItemIndex();
  if (index >= 0) FolderEdit->SetText(FolderListBox->Items().Get(index));
}

}  // namespace setup
