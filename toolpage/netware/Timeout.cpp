#include "Timeout.h"

#include <windows.h>

namespace toolpage {

bool TimeoutExpiredAt(uint32_t Now, uint32_t StartTick, int32_t Timeout) {
  if (Timeout < 0) return false;
  if (Now < StartTick) return true;
  return Now - StartTick > static_cast<uint32_t>(Timeout);
}

bool TimeoutExpired(uint32_t StartTick, int32_t Timeout) {
  return TimeoutExpiredAt(GetTickCount(), StartTick, Timeout);
}

}  // namespace toolpage
