// The built-in specifiers of the shell's special folders (the user's and the all-users
// menus, desktop, startup, favourites and similar virtual folders) and of the Quick
// Launch bar. Which folder a specifier names depends on the Windows family; where a
// family has none, the answer is "undefined" or an empty text.
#pragma once

#include "PathSpecifier.h"

namespace setup {

// The folder of a shell special-folder identifier (CSIDL); empty when the shell cannot
// name it as a file-system path (a virtual folder such as the recycle bin).
std::string GetSpecialFolderPath(int CSIDL);

// The text a specifier returns when the running Windows family has no such folder.
inline constexpr char kUndefinedFolder[] = "undefined";

// A shell-folder specifier: its fixed texts and the CSIDL it asks for per family.
class TShellFolderSpecifier : public TStandardPathSpecifier {
  FW_CLASS(TShellFolderSpecifier, TStandardPathSpecifier)
 public:
  using TStandardPathSpecifier::TStandardPathSpecifier;
  std::string GetPath(fw::TComponent* Obj) override;

 protected:
  // What the family of the running Windows answers: a CSIDL (>= 0), or -1 with the
  // fixed text in Fixed.
  virtual int FolderFor(std::string& Fixed) const = 0;
};

#define SETUP_SHELL_FOLDER_SPECIFIER(Class)           \
  class Class : public TShellFolderSpecifier {        \
    FW_CLASS(Class, TShellFolderSpecifier)            \
   public:                                            \
    explicit Class(fw::TComponent* AOwner);           \
    std::string GetDescription() const override;      \
    std::string GetCaption() const override;          \
                                                      \
   protected:                                         \
    int FolderFor(std::string& Fixed) const override; \
  }

SETUP_SHELL_FOLDER_SPECIFIER(TpsPrinters);
SETUP_SHELL_FOLDER_SPECIFIER(TpsRecent);
SETUP_SHELL_FOLDER_SPECIFIER(TpsSendTo);
SETUP_SHELL_FOLDER_SPECIFIER(TpsStartup);
SETUP_SHELL_FOLDER_SPECIFIER(TpsControlPanel);
SETUP_SHELL_FOLDER_SPECIFIER(TpsFavorites);
SETUP_SHELL_FOLDER_SPECIFIER(TpsBitBucket);
SETUP_SHELL_FOLDER_SPECIFIER(TpsCookies);
SETUP_SHELL_FOLDER_SPECIFIER(TpsCommonAltStartup);
SETUP_SHELL_FOLDER_SPECIFIER(TpsCommonStartup);
SETUP_SHELL_FOLDER_SPECIFIER(TpsCommonDesktopDirectory);
SETUP_SHELL_FOLDER_SPECIFIER(TpsCommonFavorites);
SETUP_SHELL_FOLDER_SPECIFIER(TpsCommonPrograms);
SETUP_SHELL_FOLDER_SPECIFIER(TpsCommonStartMenu);

// The Quick Launch bar below the user's application data; "undefined" without that
// folder.
class TpsQuickLaunchMenu : public TStandardPathSpecifier {
  FW_CLASS(TpsQuickLaunchMenu, TStandardPathSpecifier)
 public:
  explicit TpsQuickLaunchMenu(fw::TComponent* AOwner);
  std::string GetDescription() const override { return "Path of the Quick Launch Toolbar Menu"; }
  std::string GetCaption() const override { return "Quick Launch Toolbar menu"; }
  std::string GetPath(fw::TComponent* Obj) override;
};

// Appends the shell-folder and office specifier classes to the class list, after the
// built-in ones, and registers them by name.
void StartShellFolderSpecifierUnit();

}  // namespace setup
