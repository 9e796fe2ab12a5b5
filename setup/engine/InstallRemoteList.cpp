// The archive information of the run, and the remote file list of a network distribution.
#include "Install.h"

namespace setup {

void TCustomInstall::FetchRemoteFileList() {
  TFileContainer::ReadInfoFromArchive();
  if (FDistributeType != dtTraditional)
    throw IEInstall("A network distribution is not available in this version of the setup program");
}

}  // namespace setup
