// Any start-up file updated without a fault: every line is kept or replaced by the new
// line, the new line is there afterwards, and a second update changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "NcfLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // The first line of the input is the command line to put in, the rest the file.
  std::string input(reinterpret_cast<const char*>(Data), Size);
  size_t end = input.find('\n');
  std::string newLine = input.substr(0, end == std::string::npos ? input.size() : end);
  std::string file = end == std::string::npos ? "" : input.substr(end + 1);
  if (newLine.find('\r') != std::string::npos) return 0;

  std::string once = toolpage::UpdateNcfText(file, "", newLine);
  auto before = toolpage::SplitTextLines(file);
  auto after = toolpage::SplitTextLines(once);
  if (after.size() != before.size() && after.size() != before.size() + 1) std::abort();
  bool found = false;
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == newLine) found = true;
    if (i < before.size() && after[i] != before[i] && after[i] != newLine) std::abort();
  }
  if (!found) std::abort();
  if (toolpage::UpdateNcfText(once, "", newLine) != once) std::abort();
  return 0;
}
