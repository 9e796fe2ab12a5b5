#include "GuiStartup.h"

#include <set>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ComboBoxes.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImageLists.h"
#include "InPlaceEditors.h"
#include "ListCtrls.h"
#include "Menus.h"
#include "OwnerDrawLists.h"
#include "Splitter.h"
#include "StdCtrls.h"

namespace fw {

namespace {

struct TGuiState {
  HINSTANCE Module = nullptr;
  std::set<std::string> WindowClasses;
};
TGuiState* gGui = nullptr;

void StartGui(HINSTANCE Module) {
  if (gGui != nullptr) throw EComponentError("The framework's GUI has already started");
  gGui = new TGuiState{Module, {}};
  RegisterClasses({&TForm::StaticClass(), &TLabel::StaticClass(), &TButton::StaticClass(), &TEdit::StaticClass(),
                   &TBitBtn::StaticClass(), &TListBox::StaticClass(), &TRadioGroup::StaticClass()});
  RegisterClasses({&TPanel::StaticClass(), &TBevel::StaticClass(), &TImage::StaticClass(), &TGroupBox::StaticClass(),
                   &TCheckBox::StaticClass(), &TProgressBar::StaticClass(), &TTabControl::StaticClass(),
                   &TRichEdit::StaticClass()});
  RegisterClasses({&TOwnerDrawListBox::StaticClass(), &TComboBox::StaticClass(), &TInplaceEdit::StaticClass(),
                   &TSpinEdit::StaticClass(), &TImageList::StaticClass()});
  RegisterClasses({&TPopupMenu::StaticClass(), &TMenuItem::StaticClass()});
  RegisterClasses({&TSplitter::StaticClass(), &TShape::StaticClass()});
  Application = new TApplication(nullptr);
}

void StopGui() {
  if (gGui == nullptr) return;
  // The forms go while the application object still answers their exception handling.
  try {
    Application->DestroyComponents();
  } catch (...) {
  }
  delete Application;
  Application = nullptr;
  for (const std::string& name : gGui->WindowClasses) UnregisterClassA(name.c_str(), gGui->Module);
  delete gGui;
  gGui = nullptr;
}

}  // namespace

TLibrary GuiLibrary(HINSTANCE Module) {
  return {"framework GUI", [Module] { StartGui(Module); }, StopGui};
}

HINSTANCE ModuleInstance() {
  if (gGui == nullptr) throw EComponentError("The framework's GUI has not started");
  return gGui->Module;
}

void EnsureWindowClass(const std::string& ClassName, WNDPROC WindowProc) {
  HINSTANCE module = ModuleInstance();
  if (gGui->WindowClasses.count(ClassName) != 0) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = ClassName.c_str();
  if (RegisterClassExA(&wc) == 0)
    throw EComponentError(Format("Cannot register the window class %s (error %u)", ClassName, GetLastError()));
  gGui->WindowClasses.insert(ClassName);
}

}  // namespace fw
