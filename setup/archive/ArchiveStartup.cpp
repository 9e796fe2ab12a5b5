#include "ArchiveStartup.h"

#include "QnlkCompress.h"
#include "VersionResource.h"

namespace setup {

fw::TLibrary ArchiveLibrary() {
  return {"setup archive",
          [] {
            fw::RegisterClasses({&TQnlkCompress::StaticClass(), &TVersionResource::StaticClass()});
          },
          nullptr};
}

}  // namespace setup
