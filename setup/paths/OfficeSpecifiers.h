// The built-in specifiers of an installed office suite's folders: templates, clip art,
// the word processor's startup and tools folders, and the favourites. The word
// processor's version picks the registry keys; without a usable one every folder falls
// back to its place under Program Files.
#pragma once

#include "PathSpecifier.h"

namespace setup {

// The major version of the installed word processor, -1 when none is installed (its
// server program must exist). Read anew at every call.
int GetWordVersion();

#define SETUP_OFFICE_SPECIFIER(Class)                  \
  class Class : public TStandardPathSpecifier {        \
    FW_CLASS(Class, TStandardPathSpecifier)            \
   public:                                             \
    explicit Class(fw::TComponent* AOwner);            \
    std::string GetDescription() const override;       \
    std::string GetCaption() const override;           \
    std::string GetPath(fw::TComponent* Obj) override; \
  }

SETUP_OFFICE_SPECIFIER(TpsOfficeUserTemplates);
SETUP_OFFICE_SPECIFIER(TpsOfficeWorkgroupTemplates);
SETUP_OFFICE_SPECIFIER(TpsOfficeClipartDirectory);
SETUP_OFFICE_SPECIFIER(TpsOfficeStartupDirectory);
SETUP_OFFICE_SPECIFIER(TpsOfficeToolsDirectory);
SETUP_OFFICE_SPECIFIER(TpsOfficeFavoritesDirectory);

}  // namespace setup
