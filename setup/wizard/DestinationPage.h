// The destination page: the folder the product is installed into, typed or chosen
// with the folder browser. What the user types becomes the install's destination,
// without a path specifier.
#pragma once

#include <string>
#include <vector>

#include "WizardPage.h"
#include "gui/StdCtrls.h"

namespace setup {

// Whether Path names a folder completely: a drive and its root ("C:\...") or a network
// share ("\\server\share...").
bool IsFullFolderPath(const std::string& Path);
// Creates Folder and its missing parents; returns the folders made, the outermost first.
std::vector<std::string> CreateFolderChain(const std::string& Folder);
// Removes the folders made (the innermost first), except the one kept and those that
// hold it; a folder that is no longer empty stays.
void RemoveFolderChain(const std::vector<std::string>& Created, const std::string& Kept);

class TSelectDestinationForm : public TWizardPage {
  FW_CLASS(TSelectDestinationForm, TWizardPage)
 public:
  explicit TSelectDestinationForm(fw::TComponent* AOwner);

  TTranslateLabel* lblText1 = nullptr;
  TTranslateLabel* lblText2 = nullptr;
  TTranslateLabel* lblText3 = nullptr;
  fw::TGroupBox* gbDirectory = nullptr;
  fw::TEdit* edDestDir = nullptr;
  TTranslateBitBtn* BrowseBtn = nullptr;

  void UpdateControls() override;
  // Goes on only with a folder the installation can use (a message says what is wrong).
  void GoNext() override;
  // Why the typed folder cannot take the installation, empty when it can: not a full
  // path, a character or device name a file name cannot hold, a path too long for the
  // product's deepest file, a folder that cannot be created or written.
  std::string FolderProblem(const std::string& Typed) const;
  void edDestDirChange(fw::TObject* Sender);
  void BrowseBtnClick(fw::TObject* Sender);

  // The text of the message that refuses an empty or relative folder.
  static std::string FolderRefusedText();

 private:
  // Shows the edit's path without counting it as the user's input.
  void ShowPath(const std::string& Path);
  bool FFilling = false;
};

}  // namespace setup
