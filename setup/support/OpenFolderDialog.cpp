#include "OpenFolderDialog.h"

#include <shlobj.h>

#include <memory>

#include "FileAttributes.h"
#include "PathStrings.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"

namespace setup {

namespace {

const char kDialogProp[] = "StavrelFolderDialog";
const RECT kDefaultRect{20, 230, 140, 253};

bool StartsWithText(const std::string& Text, const char* Prefix) {
  size_t n = strlen(Prefix);
  return Text.size() >= n && fw::SameText(Text.substr(0, n), Prefix);
}

std::string WindowClass(HWND Wnd) {
  char name[64] = "";
  int n = GetClassNameA(Wnd, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

RECT RectInBrowser(HWND Child, HWND Browser) {
  RECT r;
  GetWindowRect(Child, &r);
  MapWindowPoints(nullptr, Browser, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Creates Folder and every missing folder above it.
bool ForceFolders(const std::string& Folder) {
  std::string dir = RemoveTrailingBackslash(Folder);
  if (dir.empty() || dir.back() == ':' || FolderExists(dir)) return true;
  size_t slash = dir.rfind('\\');
  if (slash != std::string::npos && !ForceFolders(dir.substr(0, slash))) return false;
  return CreateDirectoryA(dir.c_str(), nullptr) || FolderExists(dir);
}

std::string PathOfItem(LPCITEMIDLIST Item) {
  char path[MAX_PATH] = "";
  if (Item == nullptr || !SHGetPathFromIDListA(Item, path)) return std::string();
  return path;
}

// Frees an item list that the shell allocated.
struct TItemFree {
  void operator()(ITEMIDLIST* Item) const { CoTaskMemFree(Item); }
};

// COM for the shell's browser while it is open.
class TComScope {
 public:
  TComScope() : FInitialized(SUCCEEDED(CoInitialize(nullptr))) {}
  ~TComScope() {
    if (FInitialized) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  bool FInitialized;
};

// Asks for one line of text; false when the user cancels.
bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) {
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  form->SetBorderStyle(fw::bsDialog);
  form->SetPosition(fw::poScreenCenter);
  form->SetCaption(Caption);
  form->SetClientWidth(300);
  form->SetClientHeight(100);
  auto* prompt = new fw::TLabel(form.get());
  prompt->SetParent(form.get());
  prompt->SetBounds(8, 8, 284, 16);
  prompt->SetCaption(Prompt);
  auto* edit = new fw::TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(8, 30, 284, 21);
  edit->SetText(Value);
  auto* ok = new fw::TButton(form.get());
  ok->SetParent(form.get());
  ok->SetBounds(136, 66, 75, 25);
  ok->SetCaption("OK");
  ok->SetModalResult(fw::mrOk);
  ok->SetDefault(true);
  auto* cancel = new fw::TButton(form.get());
  cancel->SetParent(form.get());
  cancel->SetBounds(217, 66, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->SetModalResult(fw::mrCancel);
  cancel->SetCancel(true);
  if (form->ShowModal() != fw::mrOk) return false;
  Value = edit->Text();
  return true;
}

}  // namespace

// --- layout ------------------------------------------------------------------

TFolderDialogLayout LayoutFolderDialog(const RECT* Tree, const RECT* OK, const RECT* Cancel, bool ShowPathEdit) {
  TFolderDialogLayout layout;
  layout.Button = kDefaultRect;
  layout.Edit = kDefaultRect;
  if (Tree != nullptr) layout.Tree = *Tree;
  if (Tree != nullptr && OK != nullptr && Cancel != nullptr) {
    int height = OK->bottom - OK->top;
    layout.Button.left = Tree->left;
    layout.Button.top = OK->top - 22;
    layout.Button.bottom = layout.Button.top + height;
    layout.Button.right = OK->right - (Cancel->left - OK->left);
  }
  if (ShowPathEdit && Tree != nullptr) {
    layout.Tree.bottom -= 60;
    layout.Edit.left = Tree->left;
    layout.Edit.right = Tree->right;
    layout.Edit.top = layout.Tree.bottom + 15;
    layout.Edit.bottom = layout.Edit.top + (kDefaultRect.bottom - kDefaultRect.top);
  }
  return layout;
}

std::string BrowserSelectionPath(const std::string& Path) {
  std::string folder = GetDeepestExistingDir(Path);
  return folder.size() > 3 ? RemoveTrailingBackslash(folder) : AddTrailingBackslash(folder);
}

// --- texts -------------------------------------------------------------------

namespace {
// A system without the module's text (some Windows versions, Wine) gets an English one
// rather than a button and a dialog without words.
std::string SystemText(const char* Module, unsigned Id, const char* Fallback) {
  std::string text = LoadDllString(Module, Id);
  return text.empty() ? Fallback : text;
}
}  // namespace

std::string TOFDResourceStrings::NewFolderCaption() {
  return SystemText("comdlg32.dll", 703, "New Folder");
}

std::string TOFDResourceStrings::NewFolderPrompt() {
  return SystemText("shell32.dll", 8977, "Type the name of the new folder:");
}

std::string TOFDResourceStrings::BrowseTitle() {
  std::string format = SystemText("shell32.dll", 9248, "Browse for Folder");
  try {
    return fw::Format(format, "");
  } catch (const fw::EConvertError&) {
    return format;  // a text that is no format of ours
  }
}

// --- controls ----------------------------------------------------------------

const fw::TClass& TOFDCreateButton::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TOFDCreateButton>();
  return cls;
}

TOFDCreateButton::TOFDCreateButton(fw::TComponent* AOwner, TOpenFolderDialog* Dialog)
    : fw::TButton(AOwner), FDialog(Dialog) {}

void TOFDCreateButton::CreateParams(TCreateParams& Params) {
  fw::TButton::CreateParams(Params);
  Params.WndParent = FDialog->BrowserWindow();
}

const fw::TClass& TOFDPathEdit::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TOFDPathEdit>();
  return cls;
}

TOFDPathEdit::TOFDPathEdit(fw::TComponent* AOwner, TOpenFolderDialog* Dialog) : fw::TEdit(AOwner), FDialog(Dialog) {}

void TOFDPathEdit::CreateParams(TCreateParams& Params) {
  fw::TEdit::CreateParams(Params);
  Params.WndParent = FDialog->BrowserWindow();
}

void TOFDPathEdit::WndProc(fw::TMessage& Message) {
  fw::TEdit::WndProc(Message);
  if (Message.Msg == WM_KEYUP) FDialog->PathEditKeyUp();
}

// --- the dialog ----------------------------------------------------------------

const fw::TClass& TOpenFolderDialog::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TOpenFolderDialog>().Creatable();
  return cls;
}

TOpenFolderDialog::TOpenFolderDialog(fw::TComponent* AOwner) : fw::TComponent(AOwner) {}

TOpenFolderDialog::~TOpenFolderDialog() {
  ForgetControls();
}

void TOpenFolderDialog::ForgetControls() {
  if (FCreateButton != nullptr) FCreateButton->Free();
  if (FPathEdit != nullptr) FPathEdit->Free();
  FCreateButton = nullptr;
  FPathEdit = nullptr;
  FBrowser = nullptr;
  FTreeWnd = FOKWnd = FCancelWnd = nullptr;
}

bool TOpenFolderDialog::Execute() {
  bool chosen = RunBrowser();
  while (FFolderCreated) {
    Directory = FCurrentPath;
    chosen = RunBrowser();
  }
  return chosen;
}

bool TOpenFolderDialog::RunBrowser() {
  FFolderCreated = false;
  ForgetControls();
  FCurrentPath = Directory;
  TComScope com;
  std::string title = TOFDResourceStrings::BrowseTitle();
  char displayName[MAX_PATH] = "";
  BROWSEINFOA info{};
  info.hwndOwner = GetActiveWindow();
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &TOpenFolderDialog::BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  std::unique_ptr<ITEMIDLIST, TItemFree> item(SHBrowseForFolderA(&info));
  ForgetControls();
  if (item == nullptr) return false;
  std::string chosenPath = PathOfItem(item.get());
  if (ShowPathEdit && !fw::Trim(FCurrentPath).empty()) {
    ForceFolders(FCurrentPath);
    Directory = FCurrentPath;
  } else {
    Directory = chosenPath;
  }
  return true;
}

int CALLBACK TOpenFolderDialog::BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data) {
  auto* dialog = reinterpret_cast<TOpenFolderDialog*>(Data);
  try {
    if (Msg == BFFM_INITIALIZED) dialog->Initialize(Wnd);
    if (Msg == BFFM_SELCHANGED) dialog->SelectionChanged(reinterpret_cast<const void*>(LParam));
  } catch (...) {
    if (fw::Application != nullptr) fw::Application->HandleException(dialog);
  }
  return 0;
}

LRESULT CALLBACK TOpenFolderDialog::BrowserWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* dialog = static_cast<TOpenFolderDialog*>(GetPropA(Wnd, kDialogProp));
  WNDPROC original = dialog != nullptr ? dialog->FBrowserProc : DefWindowProcA;
  if (dialog != nullptr && Msg == WM_COMMAND && LParam != 0) {
    // Our controls' notices come to their parent, the browser: hand them on.
    fw::TWinControl* control = fw::FindControl(reinterpret_cast<HWND>(LParam));
    if (control != nullptr && (control == dialog->FCreateButton || control == dialog->FPathEdit)) {
      control->Perform(0xBC00 + WM_COMMAND, WParam, LParam);
      return 0;
    }
  }
  if (Msg == WM_NCDESTROY && dialog != nullptr) {
    SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(Wnd, kDialogProp);
  }
  return CallWindowProcA(original, Wnd, Msg, WParam, LParam);
}

void TOpenFolderDialog::Initialize(HWND Browser) {
  FBrowser = Browser;
  int buttons = 0;
  for (HWND child = GetWindow(Browser, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string cls = WindowClass(child);
    if (StartsWithText(cls, "SYSTREE") && FTreeWnd == nullptr) {
      FTreeWnd = child;
      FTreeRect = RectInBrowser(child, Browser);
    } else if (StartsWithText(cls, "BUTTON") && buttons < 2) {
      (buttons == 0 ? FOKWnd : FCancelWnd) = child;
      (buttons == 0 ? FOKRect : FCancelRect) = RectInBrowser(child, Browser);
      ++buttons;
    }
  }
  SetPropA(Browser, kDialogProp, this);
  FBrowserProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Browser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TOpenFolderDialog::BrowserWindowProc)));

  TFolderDialogLayout layout =
      LayoutFolderDialog(FTreeWnd != nullptr ? &FTreeRect : nullptr, FOKWnd != nullptr ? &FOKRect : nullptr,
                         FCancelWnd != nullptr ? &FCancelRect : nullptr, ShowPathEdit);
  auto font = static_cast<WPARAM>(SendMessageA(Browser, WM_GETFONT, 0, 0));
  auto place = [&](fw::TWinControl* control, const RECT& r) {
    control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    control->HandleNeeded();
    if (font != 0) SendMessageA(control->Handle(), WM_SETFONT, font, TRUE);
  };
  if (ShowCreateButton) {
    FCreateButton = new TOFDCreateButton(nullptr, this);
    FCreateButton->SetCaption(TOFDResourceStrings::NewFolderCaption());
    FCreateButton->OnClick = fw::TNotifyEvent(this, &TOpenFolderDialog::CreateButtonClick);
    place(FCreateButton, layout.Button);
  }
  if (ShowPathEdit) {
    if (FTreeWnd != nullptr)
      SetWindowPos(FTreeWnd, nullptr, 0, 0, layout.Tree.right - layout.Tree.left, layout.Tree.bottom - layout.Tree.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FPathEdit = new TOFDPathEdit(nullptr, this);
    place(FPathEdit, layout.Edit);
  }
  if (FTreeWnd != nullptr)
    SetWindowLongPtrA(FTreeWnd, GWL_STYLE, GetWindowLongPtrA(FTreeWnd, GWL_STYLE) | TVS_SHOWSELALWAYS);
  SelectPath(Directory);
}

void TOpenFolderDialog::SelectPath(const std::string& Path) {
  std::string selection = BrowserSelectionPath(Path);
  SendMessageA(FBrowser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(selection.c_str()));
}

void TOpenFolderDialog::SelectionChanged(const void* Item) {
  FCurrentPath = PathOfItem(static_cast<LPCITEMIDLIST>(Item));
  if (!FChangingFromEdit && FPathEdit != nullptr) FPathEdit->SetText(FCurrentPath);
  if (FCreateButton != nullptr && FOKWnd != nullptr) FCreateButton->SetVisible(IsWindowEnabled(FOKWnd) != FALSE);
}

void TOpenFolderDialog::PathEditKeyUp() {
  std::string typed = FPathEdit->Text();
  FChangingFromEdit = true;
  try {
    SelectPath(typed);
  } catch (...) {
    FChangingFromEdit = false;
    throw;
  }
  FChangingFromEdit = false;
  FCurrentPath = typed;
}

void TOpenFolderDialog::CreateButtonClick(fw::TObject*) {
  bool allow = true;
  if (OnBeforeCreate) OnBeforeCreate(this, allow);
  if (!allow) return;
  std::string folder;
  if (FPathEdit == nullptr || FolderExists(FPathEdit->Text())) {
    std::string name;
    if (!InputQuery(TOFDResourceStrings::NewFolderCaption(), TOFDResourceStrings::NewFolderPrompt(), name)) return;
    folder = AddTrailingBackslash(FCurrentPath) + name;
  } else {
    folder = FPathEdit->Text();
  }
  ForceFolders(folder);
  FCurrentPath = folder;
  FFolderCreated = true;
  if (FOKWnd != nullptr)
    SendMessageA(FOKWnd, BM_CLICK, 0, 0);
  else
    PostMessageA(FBrowser, WM_COMMAND, IDOK, 0);
}

}  // namespace setup
