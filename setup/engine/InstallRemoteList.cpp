// The archive information of the run, and the remote file list of a network distribution.
#include "Install.h"
#include "RemoteFileList.h"

namespace setup {

void TCustomInstall::FetchRemoteFileList() {
  TFileContainer::ReadInfoFromArchive();
  // Sizes, dates and versions of the files packed for the network come from the list
  // beside the net archives; a network distribution without its location is an error.
  if (FDistributeType != dtTraditional) FetchRemoteFileListFrom(FNetLocation);
}

}  // namespace setup
