#include "ShellFolderSpecifiers.h"

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include "OfficeSpecifiers.h"
#include "core/ClassDef.h"
#include "support/OSVersion.h"
#include "support/PathStrings.h"

namespace setup {

namespace {

enum class TFamily { NT, Win9x, Other };

TFamily RunningFamily(TOSVerType& Version) {
  try {
    Version = GetOSVersion();
  } catch (const fw::Exception&) {
    Version = osUnidentified;
  }
  switch (Version) {
    case oswinNT:
    case oswin2K:
    case oswinXP:
      return TFamily::NT;
    case oswin95:
    case oswin98:
    case oswinME:
      return TFamily::Win9x;
    default:
      return TFamily::Other;
  }
}

TFamily RunningFamily() {
  TOSVerType version;
  return RunningFamily(version);
}

// A CSIDL per family; kEmpty and kUndefined stand for the fixed answers.
constexpr int kEmpty = -1;
constexpr int kUndefined = -2;

int Answer(int CSIDL, std::string& Fixed) {
  if (CSIDL == kUndefined) Fixed = kUndefinedFolder;
  return CSIDL;
}

int ByFamily(int NT, int Win9x, int Other, std::string& Fixed) {
  switch (RunningFamily()) {
    case TFamily::NT:
      return Answer(NT, Fixed);
    case TFamily::Win9x:
      return Answer(Win9x, Fixed);
    default:
      return Answer(Other, Fixed);
  }
}

}  // namespace

std::string GetSpecialFolderPath(int CSIDL) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL, &list)) || list == nullptr) return std::string();
  char buffer[MAX_PATH + 1] = {};
  BOOL converted = SHGetPathFromIDListA(list, buffer);
  CoTaskMemFree(list);
  return converted ? std::string(buffer) : std::string();
}

std::string TShellFolderSpecifier::GetPath(fw::TComponent*) {
  std::string fixed;
  int csidl = FolderFor(fixed);
  if (csidl < 0) return fixed;
  return RemoveTrailingBackslash(GetSpecialFolderPath(csidl));
}

const fw::TClass& TShellFolderSpecifier::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TShellFolderSpecifier>();
  return cls;
}

#define SETUP_DEFINE_SHELL_FOLDER(Class, Default, Description, Caption, NT, Win9x, Other) \
  const fw::TClass& Class::StaticClass() {                                                \
    static const fw::TClass cls = fw::TClassDef<Class>().Creatable();                     \
    return cls;                                                                           \
  }                                                                                       \
  Class::Class(fw::TComponent* AOwner) : TShellFolderSpecifier(AOwner) {                  \
    FDefaultName = Default;                                                               \
  }                                                                                       \
  std::string Class::GetDescription() const {                                             \
    return Description;                                                                   \
  }                                                                                       \
  std::string Class::GetCaption() const {                                                 \
    return Caption;                                                                       \
  }                                                                                       \
  int Class::FolderFor(std::string& Fixed) const {                                        \
    return ByFamily(NT, Win9x, Other, Fixed);                                             \
  }

SETUP_DEFINE_SHELL_FOLDER(TpsPrinters, "psPrinters", "virtual folder containing installed printers",
                          "Installed Printers", CSIDL_PRINTERS, kUndefined, kUndefined)
SETUP_DEFINE_SHELL_FOLDER(TpsRecent, "psRecent", "Recently Used Documents", "Recently Used", CSIDL_RECENT, kUndefined,
                          kUndefined)
SETUP_DEFINE_SHELL_FOLDER(TpsSendTo, "psSendTo", "Send To Menu", "Send To", CSIDL_SENDTO, kEmpty, kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsStartup, "psStartup", "User Startup", "Startup", CSIDL_STARTUP, kEmpty, kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsControlPanel, "psControlPanel", "Control Panel", "Control Panel", CSIDL_CONTROLS, kEmpty,
                          kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsFavorites, "psFavorites", "Favorites", "Favorites", CSIDL_FAVORITES, kUndefined,
                          kUndefined)
SETUP_DEFINE_SHELL_FOLDER(TpsBitBucket, "psBitBucket", "Recycle bin", "Recycle bin", CSIDL_BITBUCKET, kEmpty, kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsCookies, "psCookies", "Cookies", "Cookies", CSIDL_COOKIES, kEmpty, kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsCommonAltStartup, "psCommonAltStartup", "Alternate Startup folder for (All Users profile)",
                          "Common Alternate Startup folder", CSIDL_COMMON_ALTSTARTUP, CSIDL_ALTSTARTUP, kEmpty)
// Every NT member, XP and later too, has the all-users startup folder.
SETUP_DEFINE_SHELL_FOLDER(TpsCommonStartup, "psCommonStartup", "Common Startup directory", "Common Startup",
                          CSIDL_COMMON_STARTUP, CSIDL_STARTUP, kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsCommonDesktopDirectory, "psCommonDesktopDirectory", "Common Desktop Directory",
                          "Common Desktop", CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY, kUndefined)
SETUP_DEFINE_SHELL_FOLDER(TpsCommonFavorites, "psCommonFavorites", "Common Favorites", "Common Favorites",
                          CSIDL_COMMON_FAVORITES, CSIDL_FAVORITES, kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsCommonPrograms, "psCommonPrograms", "Common Programs", "Common Programs",
                          CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, kEmpty)
SETUP_DEFINE_SHELL_FOLDER(TpsCommonStartMenu, "psCommonStartMenu", "Common Start Menu", "Common Start Menu",
                          CSIDL_COMMON_STARTMENU, CSIDL_STARTMENU, kEmpty)

const fw::TClass& TpsQuickLaunchMenu::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TpsQuickLaunchMenu>().Creatable();
  return cls;
}

TpsQuickLaunchMenu::TpsQuickLaunchMenu(fw::TComponent* AOwner) : TStandardPathSpecifier(AOwner) {
  FDefaultName = "psQuickLaunchMenu";
}

std::string TpsQuickLaunchMenu::GetPath(fw::TComponent*) {
  std::string appData = RemoveTrailingBackslash(GetSpecialFolderPath(CSIDL_APPDATA));
  if (appData.empty()) return kUndefinedFolder;
  return RemoveTrailingBackslash(appData + "\\Microsoft\\Internet Explorer\\Quick Launch");
}

// Windows names its window-class call like the framework's class registration.
#undef RegisterClass

void StartShellFolderSpecifierUnit() {
  for (const fw::TClass* cls : {&TpsPrinters::StaticClass(),
                                &TpsRecent::StaticClass(),
                                &TpsSendTo::StaticClass(),
                                &TpsStartup::StaticClass(),
                                &TpsControlPanel::StaticClass(),
                                &TpsFavorites::StaticClass(),
                                &TpsBitBucket::StaticClass(),
                                &TpsCookies::StaticClass(),
                                &TpsCommonAltStartup::StaticClass(),
                                &TpsCommonStartup::StaticClass(),
                                &TpsCommonDesktopDirectory::StaticClass(),
                                &TpsCommonFavorites::StaticClass(),
                                &TpsCommonPrograms::StaticClass(),
                                &TpsCommonStartMenu::StaticClass(),
                                &TpsQuickLaunchMenu::StaticClass(),
                                &TpsOfficeUserTemplates::StaticClass(),
                                &TpsOfficeWorkgroupTemplates::StaticClass(),
                                &TpsOfficeClipartDirectory::StaticClass(),
                                &TpsOfficeStartupDirectory::StaticClass(),
                                &TpsOfficeToolsDirectory::StaticClass(),
                                &TpsOfficeFavoritesDirectory::StaticClass()}) {
    PathSpecifierClasses()->Add(cls);
    fw::RegisterClass(*cls);
  }
}

}  // namespace setup
