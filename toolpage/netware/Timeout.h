// Time-outs measured on the system's millisecond tick counter.
#pragma once

#include <cstdint>

namespace toolpage {

// True when more than Timeout ms have passed since StartTick, or when the counter
// wrapped since then; a negative Timeout never expires.
bool TimeoutExpired(uint32_t StartTick, int32_t Timeout);
// The same test against a given reading of the counter.
bool TimeoutExpiredAt(uint32_t Now, uint32_t StartTick, int32_t Timeout);

}  // namespace toolpage
