// A typed destination folder may hold any bytes: the check must hold for all of them,
// and a folder it passes holds no character a file name cannot hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "wizard/FolderNameRules.h"

using namespace setup;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const size_t deepest = Data[0];
  const std::string_view folder(reinterpret_cast<const char*>(Data + 1), Size - 1);
  const TFolderNameCheck check = CheckFolderName(folder, deepest);
  if (check.Fault == TFolderNameFault::None && folder.size() + deepest > kLongestPath) __builtin_trap();
  if (check.Fault == TFolderNameFault::BadCharacter && check.Part.size() != 1) __builtin_trap();
  return 0;
}
