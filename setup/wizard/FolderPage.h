// The Start-menu folder page: the Programs folder that takes the product's shortcuts,
// typed or picked from the folders there. It edits the configuration's main link group
// and is not shown without one.
#pragma once

#include <string>

#include "WizardPage.h"
#include "gui/ListCtrls.h"
#include "gui/StdCtrls.h"

namespace fw {
class TStrings;
}

namespace setup {

class TInstallContainer;

// The configuration's main link group; nil when there is none.
TInstallContainer* FindMainLinkGroup();
// The folders in the Start menu's Programs folder (none on systems before Windows 95
// and NT); List is cleared first.
void ListProgramMenuFolders(fw::TStrings& List);

class TSelectFolderForm : public TWizardPage {
  FW_CLASS(TSelectFolderForm, TWizardPage)
 public:
  explicit TSelectFolderForm(fw::TComponent* AOwner);

  TTranslateLabel* TopDescriptionLabel = nullptr;
  TTranslateLabel* ProgramFolders = nullptr;
  TTranslateLabel* ExistingFolders = nullptr;
  // Spacers between the texts and the boxes.
  TTranslateLabel* Label1 = nullptr;
  TTranslateLabel* Label3 = nullptr;
  TTranslateLabel* Label4 = nullptr;
  fw::TEdit* FolderEdit = nullptr;
  fw::TListBox* FolderListBox = nullptr;

  // Skipped without a main link group.
  bool SkipPage() override;
  void UpdateControls() override;
  // The folder the shortcuts go to now, as typed (relative to the Programs folder);
  // empty unless the group's folder is in the Programs folder.
  std::string CurrentFolderName() const;

  void FolderEditChange(fw::TObject* Sender);
  void FolderListBoxClick(fw::TObject* Sender);
  // Puts the spacers back to their heights.
  void FormResize(fw::TObject* Sender);
};

}  // namespace setup
