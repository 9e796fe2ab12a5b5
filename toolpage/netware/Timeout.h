// Time-outs measured on the system's millisecond tick counter.
#pragma once

#include <cstdint>

namespace toolpage {

// True when more than Timeout ms have passed since StartTick, or when the counter
// wrapped since then; a negative Timeout never expires. Now is a reading of the counter.
constexpr bool TimeoutExpiredAt(uint32_t Now, uint32_t StartTick, int32_t Timeout) {
  if (Timeout < 0) return false;
  if (Now < StartTick) return true;
  return Now - StartTick > static_cast<uint32_t>(Timeout);
}

}  // namespace toolpage
