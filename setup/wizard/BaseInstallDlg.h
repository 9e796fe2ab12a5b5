// The base of a dialog component: an installable object that shows a form of its own
// (or lends its settings to a wizard page it is registered with) and belongs to a
// dialog manager. Descendants name the form class.
#pragma once

#include <memory>

#include "DialogManager.h"
#include "gui/Graphics.h"
#include "support/TranslatorHooks.h"

namespace fw {
class TCustomForm;
}

namespace setup {

class TCustomBaseInstallDlg : public TInstallObject {
  FW_CLASS(TCustomBaseInstallDlg, TInstallObject)
 public:
  explicit TCustomBaseInstallDlg(fw::TComponent* AOwner);
  ~TCustomBaseInstallDlg() override;

  TDialogManager* DialogManager() const { return FDialogManager; }
  // Leaves the old manager's list of dialogs and joins the new one's.
  virtual void SetDialogManager(TDialogManager* Value);
  fw::TPicture* Picture() const { return FPicture.get(); }
  virtual void SetPicture(const fw::TPicture* Value);
  // The form shown now (its own or the wizard page it lends its settings to); nil
  // otherwise.
  fw::TCustomForm* Form() const { return FForm; }
  void SetForm(fw::TCustomForm* Value);

  bool TranslateFont = true;
  bool TranslateTexts = true;
  TLanguageOrdinal ShownLanguage = kLanguageEnglish;
  bool UseOwnLanguage = false;
  TLanguageOrdinal OwnLanguage = kLanguageUser;
  // The page's place in a wizard.
  int PageOrder = 0;
  TQuenlarkDialogPosition Position = qdpCenter;
  int LeftOffset = 0;
  int TopOffset = 0;
  int Width = 478;
  int Height = 395;
  fw::TNotifyEvent OnBeforeShow;
  fw::TNotifyEvent OnAfterShow;

  // The language font and the texts of the form (nothing without one).
  void TranslateForm() override;
  // Hands the translation settings, the install object and itself to the form, then
  // translates it. Raises Exception without a form.
  virtual void AssignDialogProperties();
  // The notifications around ShowDialog; an EAbort gives false.
  virtual bool Execute();
  // Shows a form of FormClass modally; true for result 1 (or when it cannot show);
  // raises EAIUserAbort for any other result.
  virtual bool ShowDialog();
  virtual const fw::TClass& FormClass() const = 0;
  virtual bool CanShow() { return true; }
  // Puts the form on the screen by the position rule with this dialog's size.
  void PlaceForm();

  void RemoveReference(TInstallContainer* Obj) override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  TDialogManager* FDialogManager = nullptr;
  fw::TCustomForm* FForm = nullptr;
  std::unique_ptr<fw::TPicture> FPicture;
};

}  // namespace setup
