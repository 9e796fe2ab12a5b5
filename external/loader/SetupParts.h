// Where a setup file keeps its parts: "setup.1" inside a self-extracting setup (whose
// record and digest are checked) or beside a setup copied to floppy disks.
#pragma once

#include <string>
#include <vector>

#include "archive/QnlkCompress.h"
#include "engine/SelfExtractRecord.h"

namespace loader {

class ELoader : public fw::Exception {
 public:
  using fw::Exception::Exception;
};

struct TSetupParts {
  bool SelfExtracting = false;
  std::string Archive;  // the file that holds setup.1
  int32_t Offset = 0;   // where setup.1 starts in it
  setup::TSelfExtractInfo Info;
};

// The parts of the setup file Self; ELoader when it is damaged or truncated.
TSetupParts LocateParts(const std::string& Self);
// The stored names of the archive's files, in their order.
std::vector<std::string> ArchiveFileNames(setup::TQnlkCompress& Archive);

}  // namespace loader
