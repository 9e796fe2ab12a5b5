// The wizard host: one modal window that builds the pages of the current dialog
// manager, orders them, and shows one at a time with Next and Previous, passing over
// the pages that say they are to be skipped.
#pragma once

#include <exception>
#include <vector>

#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"

namespace setup {

class TBaseInstallForm;
enum class TQuenlarkDialogPosition;

class TBaseFormContainer : public fw::TForm {
  FW_CLASS(TBaseFormContainer, fw::TForm)
 public:
  explicit TBaseFormContainer(fw::TComponent* AOwner);
  ~TBaseFormContainer() override;

  fw::TPanel* DisplayPanel = nullptr;
  fw::TTabControl* Tabs = nullptr;

  // Builds the pages of CurrentDialogManager from the registered page classes, in
  // ascending Order; returns their number. Raises Exception "The current dialog manager
  // is not defined" without a current manager.
  int CreatePages();
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TBaseInstallForm* Page(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
  // The page on view; nil before the first is shown.
  TBaseInstallForm* CurrentPage() const;
  // Whether some page does not ask to be skipped.
  bool HasPageToShow() const;

  // Shows the page at Index, or the nearest one before (Backward) or after it that is
  // not skipped; false when there is none. The page left runs its leave step.
  bool ShowPage(int Index, bool Backward);
  bool IsFirstPage() const;
  bool IsLastPage() const;
  // Next past the last page that is shown ends the wizard with result 1.
  virtual void NextPage();
  virtual void PreviousPage();
  virtual void PlaceOnScreen(TQuenlarkDialogPosition Position, int LeftOffset, int TopOffset);

  // An error raised while a page was entered from a button ends the wizard; Execute
  // raises it again once the window is gone.
  void RethrowPageError();

  void FormCreate(fw::TObject* Sender);
  void FormDestroy(fw::TObject* Sender);
  // Refuses to close unless Next passed the end or the wizard was cancelled.
  void FormClose(fw::TObject* Sender, fw::TCloseAction& Action);
  void FormResize(fw::TObject* Sender);
  void FormShow(fw::TObject* Sender);
  void TabsChange(fw::TObject* Sender);
  void TabsChanging(fw::TObject* Sender, bool& AllowChange);

 protected:
  void WndProc(fw::TMessage& Message) override;

 private:
  // The page that ShowPage (Index, Backward) would show; -1 for none.
  int FindShownPage(int Index, bool Backward) const;
  // Enter and Escape press the current page's default or cancel button.
  bool PressPageButton(bool DefaultButton);
  // Runs a page change; an error ends the wizard and is kept for Execute.
  template <class F>
  void Guarded(F Change);

  std::vector<TBaseInstallForm*> FPages;
  // The page on view, and whether the tabs already ran its leave step.
  TBaseInstallForm* FShownPage = nullptr;
  bool FShownPageLeft = false;
  bool FResizing = false;
  bool FCloseAllowed = false;
  std::exception_ptr FPageError;
};

}  // namespace setup
