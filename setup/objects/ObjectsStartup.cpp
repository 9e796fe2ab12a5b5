#include "ObjectsStartup.h"

#include "InstallFile.h"

namespace setup {

namespace {

void StartObjects() {
  StartInstallLists();
  try {
    StartInstallRegistryUnit();
    StartPathSpecifierUnit();
    StartFileObjectsUnit();
  } catch (...) {
    StopInstallRegistryUnit();
    StopInstallLists();
    throw;
  }
}

void StopObjects() {
  StopPathSpecifierUnit();
  StopInstallRegistryUnit();
  StopInstallLists();
}

}  // namespace

fw::TLibrary ObjectsLibrary() {
  return {"setup objects", StartObjects, StopObjects};
}

}  // namespace setup
