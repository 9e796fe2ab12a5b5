#include "ObjectsStartup.h"

#include "InstallFile.h"
#include "ShellLinks.h"
#include "paths/ShellFolderSpecifiers.h"

namespace setup {

namespace {

void StartObjects() {
  StartInstallLists();
  try {
    StartInstallRegistryUnit();
    StartPathSpecifierUnit();
    StartShellFolderSpecifierUnit();
    StartFileObjectsUnit();
    StartShellLinkUnit();
  } catch (...) {
    StopShellLinkUnit();
    StopInstallRegistryUnit();
    StopInstallLists();
    throw;
  }
}

void StopObjects() {
  StopShellLinkUnit();
  StopPathSpecifierUnit();
  StopInstallRegistryUnit();
  StopInstallLists();
}

}  // namespace

fw::TLibrary ObjectsLibrary() {
  return {"setup objects", StartObjects, StopObjects};
}

}  // namespace setup
