// The build of a distributable setup and the copy of a setup onto floppy disks.
#include "Install.h"

namespace setup {

namespace {

[[noreturn]] void NotBuiltYet(const char* Operation) {
  throw IEInstall("%s is not available in this version of the setup program", Operation);
}

}  // namespace

void TCustomInstall::Build(const std::string& SourceExe, const std::string& Dir, bool StandAlone) {
  NotBuiltYet("Building a distribution");
}

void TCustomInstall::BuildFromBuildInf() {
  NotBuiltYet("Building a distribution");
}

void TCustomInstall::BuildSetupArchive(const std::string& Dir, const std::string& SourceExe) {
  NotBuiltYet("Building the setup archive");
}

void TCustomInstall::TransferToFloppies(const std::string& Drive) {
  NotBuiltYet("The transfer to floppy disks");
}

void TCustomInstall::LocateSelfExtractArchive() {
  NotBuiltYet("A self-extracting setup");
}

void TCustomInstall::Compress(int Options) {
  TFileContainer::Compress(Options);
}

}  // namespace setup
