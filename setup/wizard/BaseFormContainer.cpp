#include "BaseFormContainer.h"

#include <utility>

#include "BaseInstallDlg.h"
#include "BaseInstallForm.h"
#include "DialogManager.h"
#include "WizardPlacement.h"
#include "core/ClassDef.h"
#include "gui/Screen.h"
#include "support/Errors.h"

namespace setup {

const fw::TClass& TBaseFormContainer::StaticClass() {
  using T = TBaseFormContainer;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Field("DisplayPanel", &T::DisplayPanel)
                                    .Field("Tabs", &T::Tabs)
                                    .Method("FormCreate", &T::FormCreate)
                                    .Method("FormDestroy", &T::FormDestroy)
                                    .Method("FormClose", &T::FormClose)
                                    .Method("FormResize", &T::FormResize)
                                    .Method("FormShow", &T::FormShow)
                                    .Method("TabsChange", &T::TabsChange)
                                    .Method("TabsChanging", &T::TabsChanging);
  return cls;
}

TBaseFormContainer::TBaseFormContainer(fw::TComponent* AOwner) : fw::TForm(AOwner) {}

TBaseFormContainer::~TBaseFormContainer() = default;

void TBaseFormContainer::FormCreate(fw::TObject*) {
  Font().SetCharset(0);
  if (FResizing) {
    SetHeight(395);
    SetWidth(478);
  }
  FResizing = false;
  FCloseAllowed = false;
}

void TBaseFormContainer::FormDestroy(fw::TObject*) {
  FShownPage = nullptr;
  FPages.clear();
}

int TBaseFormContainer::CreatePages() {
  TDialogManager* manager = CurrentDialogManager();
  if (manager == nullptr) throw fw::Exception(TranslateEnglishText("The current dialog manager is not defined"));
  FPages.clear();
  FShownPage = nullptr;
  Tabs->Tabs().Clear();
  for (int i = 0; i < BaseInstallFormCount(); ++i) {
    const TFormEntry& entry = GetBaseInstallFormEntry(i);
    TCustomBaseInstallDlg* dialog = entry.Dialog;
    if (dialog != nullptr && (dialog->DialogManager() != manager || !dialog->CanShow())) continue;
    fw::TCustomForm* created = CreateRegisteredForm(*entry.FormClass, this);
    auto* page = dynamic_cast<TBaseInstallForm*>(created);
    if (page == nullptr || (dialog == nullptr && page->DM() != manager)) {
      created->Free();
      continue;
    }
    if (dialog != nullptr) {
      page->SetDC(dialog);
      page->SetContainer(dialog->Container());
      page->SetOrder(dialog->PageOrder);
      dialog->SetForm(page);
      dialog->AssignDialogProperties();
    }
    Tabs->Tabs().Add(page->Caption());
    page->SetBounds(DisplayPanel->Left(), DisplayPanel->Top(), DisplayPanel->Width(), DisplayPanel->Height());
    page->TranslateForm();
    FPages.push_back(page);
  }
  // Each place gets the smallest Order of the pages after it, exchanged in this exact
  // sequence (pages of equal Order keep the order it gives them).
  for (size_t i = 0; i < FPages.size(); ++i)
    for (size_t j = i + 1; j < FPages.size(); ++j)
      if (FPages[j]->Order() < FPages[i]->Order()) std::swap(FPages[i], FPages[j]);
  return PageCount();
}

TBaseInstallForm* TBaseFormContainer::CurrentPage() const {
  return FShownPage;
}

bool TBaseFormContainer::HasPageToShow() const {
  for (TBaseInstallForm* page : FPages)
    if (!page->SkipPage()) return true;
  return false;
}

int TBaseFormContainer::FindShownPage(int Index, bool Backward) const {
  while (Index >= 0 && Index < PageCount()) {
    if (!Page(Index)->SkipPage()) return Index;
    Index += Backward ? -1 : 1;
  }
  return -1;
}

bool TBaseFormContainer::ShowPage(int Index, bool Backward) {
  int shown = FindShownPage(Index, Backward);
  if (shown < 0) return false;
  TBaseInstallForm* previous = FShownPage;
  TBaseInstallForm* page = Page(shown);
  // A page the user left through the tabs has run its leave step already.
  bool alreadyLeft = std::exchange(FShownPageLeft, false);
  if (previous != nullptr && previous != page && !alreadyLeft) previous->LeavePage();
  FShownPage = page;
  Tabs->SetTabIndex(shown);
  SetCaption(page->Caption());
  page->SetVisible(true);
  if (previous != nullptr && previous != page) previous->Hide();
  page->EnterPage();
  return true;
}

bool TBaseFormContainer::IsFirstPage() const {
  int current = Tabs->TabIndex();
  for (int i = 0; i < current && i < PageCount(); ++i)
    if (!Page(i)->SkipPage()) return false;
  return true;
}

bool TBaseFormContainer::IsLastPage() const {
  return Tabs->TabIndex() + 1 == PageCount();
}

template <class F>
void TBaseFormContainer::Guarded(F Change) {
  try {
    Change();
  } catch (...) {
    FPageError = std::current_exception();
    FCloseAllowed = true;
    SetModalResult(fw::mrCancel);
  }
}

void TBaseFormContainer::RethrowPageError() {
  if (FPageError) std::rethrow_exception(std::exchange(FPageError, nullptr));
}

void TBaseFormContainer::NextPage() {
  Guarded([this] {
    int current = Tabs->TabIndex();
    if (!ShowPage(current + 1, false)) ShowPage(current + 1, true);
    if (Tabs->TabIndex() == current) {
      // Next past the last page shown: the wizard is done.
      FCloseAllowed = true;
      SetModalResult(fw::mrOk);
    }
  });
}

void TBaseFormContainer::PreviousPage() {
  Guarded([this] {
    int current = Tabs->TabIndex();
    if (!ShowPage(current - 1, true)) ShowPage(current - 1, false);
  });
}

void TBaseFormContainer::PlaceOnScreen(TQuenlarkDialogPosition Position, int LeftOffset, int TopOffset) {
  TWindowPlace place = PlaceWindow(Position, LeftOffset, TopOffset, Width(), Height(), fw::ScreenWidth(),
                                   fw::ScreenHeight(), fw::CaptionHeight());
  SetBounds(place.Left, place.Top, Width(), Height());
}

void TBaseFormContainer::FormClose(fw::TObject*, fw::TCloseAction& Action) {
  if (!FCloseAllowed && ModalResult() != kCancelledResult) Action = fw::caNone;
}

void TBaseFormContainer::FormResize(fw::TObject*) {
  if (FResizing || DisplayPanel == nullptr) return;
  for (TBaseInstallForm* page : FPages) {
    page->SetBounds(DisplayPanel->Left(), DisplayPanel->Top(), DisplayPanel->Width(), DisplayPanel->Height());
    page->Invalidate();
  }
}

void TBaseFormContainer::FormShow(fw::TObject*) {
  if (!ShowPage(0, true)) ShowPage(0, false);
  if (HandleAllocated()) SetForegroundWindow(Handle());
}

void TBaseFormContainer::TabsChange(fw::TObject*) {
  Guarded([this] {
    int index = Tabs->TabIndex();
    if (!ShowPage(index, true)) ShowPage(index, false);
  });
}

void TBaseFormContainer::TabsChanging(fw::TObject*, bool& AllowChange) {
  int index = Tabs->TabIndex();
  if (index >= 0 && index < PageCount()) {
    Page(index)->LeavePage();
    FShownPageLeft = FShownPage == Page(index);
  }
  AllowChange = true;
}

bool TBaseFormContainer::PressPageButton(bool DefaultButton) {
  TBaseInstallForm* page = CurrentPage();
  if (page == nullptr) return false;
  for (int i = 0; i < page->ComponentCount(); ++i) {
    auto* button = dynamic_cast<fw::TButton*>(page->Components(i));
    if (button == nullptr || !button->Visible() || !button->Enabled()) continue;
    if (DefaultButton ? button->Default() : button->Cancel()) {
      button->Click();
      return true;
    }
  }
  return false;
}

void TBaseFormContainer::WndProc(fw::TMessage& Message) {
  // The dialog manager's Enter and Escape come as IDOK and IDCANCEL from no control.
  if (Message.Msg == WM_COMMAND && Message.LParam == 0 && HIWORD(Message.WParam) == 0 &&
      (LOWORD(Message.WParam) == IDOK || LOWORD(Message.WParam) == IDCANCEL)) {
    PressPageButton(LOWORD(Message.WParam) == IDOK);
    return;
  }
  fw::TForm::WndProc(Message);
  if (Message.Msg == WM_SIZE) FormResize(this);
}

}  // namespace setup
