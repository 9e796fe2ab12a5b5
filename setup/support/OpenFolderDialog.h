// TOpenFolderDialog: the shell's folder browser with a path edit below its tree and a
// button that makes a new folder.
#pragma once

#include <windows.h>

#include <string>

#include "core/Events.h"
#include "gui/StdCtrls.h"

namespace setup {

class TOpenFolderDialog;

// The button that makes a new folder; it lives in the browser's window.
class TOFDCreateButton : public fw::TButton {
  FW_CLASS(TOFDCreateButton, fw::TButton)
 public:
  TOFDCreateButton(fw::TComponent* AOwner, TOpenFolderDialog* Dialog);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TOpenFolderDialog* FDialog;
};

// The edit that shows the selected path and selects what the user types.
class TOFDPathEdit : public fw::TEdit {
  FW_CLASS(TOFDPathEdit, fw::TEdit)
 public:
  TOFDPathEdit(fw::TComponent* AOwner, TOpenFolderDialog* Dialog);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(fw::TMessage& Message) override;

 private:
  TOpenFolderDialog* FDialog;
};

// Texts of the system's own dialogs.
struct TOFDResourceStrings {
  static std::string NewFolderCaption();  // string 703 of comdlg32.dll
  static std::string NewFolderPrompt();   // string 8977 of shell32.dll
  static std::string BrowseTitle();       // string 9248 of shell32.dll, formatted with ""
};

// Where the added controls go, in the browser's client coordinates.
struct TFolderDialogLayout {
  RECT Tree{};
  RECT Button{};
  RECT Edit{};
};
// Tree, OK and Cancel may be missing (nil). The button's row is 22 pixels above OK, as
// tall as OK, from the tree's left edge to OK's right edge less the distance from OK to
// Cancel; with the edit, the tree loses 60 pixels and the edit sits 15 pixels below it,
// as wide as the tree. Without those controls both take (20, 230, 140, 253).
TFolderDialogLayout LayoutFolderDialog(const RECT* Tree, const RECT* OK, const RECT* Cancel, bool ShowPathEdit);
// The folder the browser selects for a path: its deepest existing folder, a drive root
// with a trailing "\", anything longer without one.
std::string BrowserSelectionPath(const std::string& Path);

using TBeforeCreateFolderEvent = fw::TMethodPtr<void(fw::TObject* Sender, bool& Allow)>;

class TOpenFolderDialog : public fw::TComponent {
  FW_CLASS(TOpenFolderDialog, fw::TComponent)
 public:
  explicit TOpenFolderDialog(fw::TComponent* AOwner);
  ~TOpenFolderDialog() override;

  // The folder selected at the start and, after Execute, the chosen one.
  std::string Directory;
  bool ShowCreateButton = true;
  bool ShowPathEdit = true;
  // May veto a new folder.
  TBeforeCreateFolderEvent OnBeforeCreate;

  // Shows the browser; true when a folder was chosen (it is then in Directory). A folder
  // made with the new-folder button is created at once, and the browser opens again on it.
  bool Execute();

  // The browser's parts while it is open.
  HWND BrowserWindow() const { return FBrowser; }
  TOFDPathEdit* PathEdit() const { return FPathEdit; }
  TOFDCreateButton* CreateButton() const { return FCreateButton; }

 private:
  friend class TOFDPathEdit;
  static int CALLBACK BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data);
  static LRESULT CALLBACK BrowserWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool RunBrowser();
  void Initialize(HWND Browser);
  void SelectionChanged(const void* Item);
  void PathEditKeyUp();
  void CreateButtonClick(fw::TObject* Sender);
  void SelectPath(const std::string& Path);
  void ForgetControls();

  TOFDCreateButton* FCreateButton = nullptr;
  TOFDPathEdit* FPathEdit = nullptr;
  std::string FCurrentPath;
  bool FFolderCreated = false;
  bool FChangingFromEdit = false;
  HWND FBrowser = nullptr;
  WNDPROC FBrowserProc = nullptr;
  HWND FTreeWnd = nullptr, FOKWnd = nullptr, FCancelWnd = nullptr;
  RECT FTreeRect{}, FOKRect{}, FCancelRect{};
};

}  // namespace setup
