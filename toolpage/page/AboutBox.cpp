#include "AboutBox.h"

#include "core/ClassDef.h"
#include "gui/GuiStartup.h"

namespace toolpage {

const fw::TClass& TAboutBox::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TAboutBox>().Creatable().Field("ProgramIcon", &TAboutBox::ProgramIcon);
  return cls;
}

void TAboutBox::Loaded() {
  fw::TForm::Loaded();
  if (ProgramIcon == nullptr) return;
  HMODULE module = fw::ModuleInstance();
  HRSRC found = FindResourceA(module, "TUVEKICON", reinterpret_cast<LPCSTR>(RT_RCDATA));
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const auto* bytes = static_cast<const uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (bytes == nullptr) return;
  fw::TIcon icon;
  icon.LoadFromBytes(std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found)));
  ProgramIcon->Picture().SetGraphic(&icon);
}

}  // namespace toolpage
