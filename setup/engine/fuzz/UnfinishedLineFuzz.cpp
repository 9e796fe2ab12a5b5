// A line of the unfinished list as the registry may hold it (anything another program or
// a damaged hive put there): parsing never fails unsafely, takes the item from before the
// last ";", and what it accepted reads back the same when written in the list's form.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/RestartCommands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string line(reinterpret_cast<const char*>(Data), Size);
  std::string item;
  int kind = 0;
  if (!setup::ParseUnfinishedLine(line, item, kind)) return 0;
  if (item.empty() || line.compare(0, item.size(), item) != 0 || line[item.size()] != ';') std::abort();
  if (line.find(';', item.size() + 1) != std::string::npos) std::abort();
  std::string again;
  int againKind = -1;
  if (!setup::ParseUnfinishedLine(item + ";" + std::to_string(kind), again, againKind) || again != item ||
      againKind != kind)
    std::abort();
  return 0;
}
