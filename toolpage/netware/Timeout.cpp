#include "Timeout.h"

#include <windows.h>

namespace toolpage {

bool TimeoutExpired(uint32_t StartTick, int32_t Timeout) {
  return TimeoutExpiredAt(GetTickCount(), StartTick, Timeout);
}

}  // namespace toolpage
