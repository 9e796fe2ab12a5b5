// Plays a share that answers, round and round from the input's bytes, whether each name a
// new script would take exists already (an odd byte: it does). Whatever it answers, the
// search asks for NEW.OKS, NEW(1).OKS ... in order, never more than their 1,000 names, and
// ends with the first name denied or, when every one is taken, with fw::Exception.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ScriptNames.h"
#include "core/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  int asked = 0;
  size_t pos = 0;
  int firstDenied = -1;
  auto exists = [&](const std::string& Name) {
    if (Name != toolpage::NewScriptName(asked) || asked > toolpage::kMaxNewScriptNumber) std::abort();
    const bool taken = Data[pos] & 1;
    pos = (pos + 1) % Size;
    if (!taken && firstDenied < 0) firstDenied = asked;
    ++asked;
    return taken;
  };
  try {
    std::string name = toolpage::FirstFreeNewScriptName(exists);
    if (firstDenied < 0 || asked != firstDenied + 1 || name != toolpage::NewScriptName(firstDenied)) std::abort();
  } catch (const fw::Exception&) {
    if (firstDenied >= 0 || asked != toolpage::kMaxNewScriptNumber + 1) std::abort();
  }
  return 0;
}
