// The built-in specifiers that answer from Windows alone: the registry's program and
// shell folders, the system and Windows folders. They accept every object.
#pragma once

#include "PathSpecifier.h"

namespace setup {

// Declares a built-in specifier with its fixed texts and its own path.
#define SETUP_SIMPLE_SPECIFIER(Class)                  \
  class Class : public TStandardPathSpecifier {        \
    FW_CLASS(Class, TStandardPathSpecifier)            \
   public:                                             \
    explicit Class(fw::TComponent* AOwner);            \
    std::string GetDescription() const override;       \
    std::string GetCaption() const override;           \
    std::string GetPath(fw::TComponent* Obj) override; \
  }

// The Borland Database Engine's DLL folder: the first item of its "DLLPath".
SETUP_SIMPLE_SPECIFIER(TpsBDEDLL);
SETUP_SIMPLE_SPECIFIER(TpsCommonFiles);
SETUP_SIMPLE_SPECIFIER(TpsDesktopMenu);
SETUP_SIMPLE_SPECIFIER(TpsProgramFiles);
SETUP_SIMPLE_SPECIFIER(TpsProgramMenu);
SETUP_SIMPLE_SPECIFIER(TpsStartMenu);
SETUP_SIMPLE_SPECIFIER(TpsStartupMenu);
SETUP_SIMPLE_SPECIFIER(TpsSystem);
SETUP_SIMPLE_SPECIFIER(TpsWindow);

// The key and value that name the database engine's DLL folder (HKEY_LOCAL_MACHINE).
inline constexpr char kBDEKey[] = "\\Software\\Borland\\Database Engine";
inline constexpr char kBDEValue[] = "DLLPath";

}  // namespace setup
