// The "BUILD.INF" line: a folder read from it is never blank, has no blank or control
// character at either end and no line break.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/BuildInfText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string content(reinterpret_cast<const char*>(Data), Size);
  std::string folder;
  if (!setup::BuildDirectoryFromBuildInf(content, folder)) {
    if (!folder.empty()) std::abort();
    return 0;
  }
  if (folder.empty() || static_cast<unsigned char>(folder.front()) <= ' ' ||
      static_cast<unsigned char>(folder.back()) <= ' ' || folder.find_first_of("\r\n") != std::string::npos ||
      content.find(folder) == std::string::npos)
    std::abort();
  return 0;
}
