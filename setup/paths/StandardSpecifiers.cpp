#include "StandardSpecifiers.h"

#include "ShellFolders.h"
#include "core/ClassDef.h"
#include "support/PathStrings.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

namespace setup {

#define SETUP_DEFINE_SPECIFIER(Class, Default, Description, Caption)                                                \
  const fw::TClass& Class::StaticClass() {                                                                          \
    static const fw::TClass cls = fw::TClassDef<Class>().Creatable();                                      \
    return cls;                                                                                                     \
  }                                                                                                                 \
  Class::Class(fw::TComponent* AOwner) : TStandardPathSpecifier(AOwner) {                                           \
    FDefaultName = Default;                                                                                         \
  }                                                                                                                 \
  std::string Class::GetDescription() const {                                                                       \
    return Description;                                                                                             \
  }                                                                                                                 \
  std::string Class::GetCaption() const {                                                                           \
    return Caption;                                                                                                 \
  }

SETUP_DEFINE_SPECIFIER(TpsBDEDLL, "psBDEDLL", "Borland Database Engine DLL Path", "BDE DLL")
SETUP_DEFINE_SPECIFIER(TpsCommonFiles, "psCommonFiles",
                       "Path of the common files directory under the program files directory", "Common files")
SETUP_DEFINE_SPECIFIER(TpsDesktopMenu, "psDesktopMenu", "Path of the Desktop", "Desktop")
SETUP_DEFINE_SPECIFIER(TpsProgramFiles, "psProgramFiles", "Path of the program files directory", "Program files")
SETUP_DEFINE_SPECIFIER(TpsProgramMenu, "psProgramMenu", "Path of the Programs folder under the Start Menu",
                       "Program menu")
SETUP_DEFINE_SPECIFIER(TpsStartMenu, "psStartMenu", "Path of Start Menu", "Start menu")
SETUP_DEFINE_SPECIFIER(TpsStartupMenu, "psStartupMenu",
                       "Path of the Startup folder in the Programs folder under the Start Menu", "Startup menu")
SETUP_DEFINE_SPECIFIER(TpsSystem, "psSystem", "Path of system directory", "System dir")
SETUP_DEFINE_SPECIFIER(TpsWindow, "psWindow", "Path of the Windows directory", "Windows dir")

std::string TpsBDEDLL::GetPath(fw::TComponent*) {
  std::string path = ReadRegString(hkLocalMachine, kBDEKey, kBDEValue, "");
  if (path.empty()) path = GetProgramFilesDir() + "\\Borland\\Common Files\\BDE";
  // The value may list several folders; the first is the engine's own.
  size_t separator = path.find(';');
  return separator == std::string::npos ? path : path.substr(0, separator);
}

std::string TpsCommonFiles::GetPath(fw::TComponent*) {
  return GetCommonFilesDir();
}
std::string TpsDesktopMenu::GetPath(fw::TComponent*) {
  return GetDesktopDir();
}
std::string TpsProgramFiles::GetPath(fw::TComponent*) {
  return GetProgramFilesDir();
}
std::string TpsProgramMenu::GetPath(fw::TComponent*) {
  return GetProgramsMenuDir();
}
std::string TpsStartMenu::GetPath(fw::TComponent*) {
  return GetStartMenuDir();
}
std::string TpsStartupMenu::GetPath(fw::TComponent*) {
  return GetStartupDir();
}
std::string TpsSystem::GetPath(fw::TComponent*) {
  return RemoveTrailingBackslash(GetSystemDir());
}
std::string TpsWindow::GetPath(fw::TComponent*) {
  return RemoveTrailingBackslash(GetWindowsDir());
}

}  // namespace setup
