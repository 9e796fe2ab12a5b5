#include "EngineStartup.h"

#include "BuildInfo.h"
#include "Install.h"

namespace setup {

fw::TLibrary EngineLibrary() {
  return {"setup engine",
          [] {
            fw::RegisterClasses({&TBuildInfo::StaticClass(), &TCustomInstall::StaticClass(), &TInstall::StaticClass()});
          },
          [] {}};
}

}  // namespace setup
