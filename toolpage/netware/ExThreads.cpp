#include "ExThreads.h"

#include <windows.h>

#include <atomic>

#include "NwTypes.h"

namespace toolpage {

namespace {
std::atomic<uint32_t> gMainThreadId{0};
}

void InitExThreads() {
  gMainThreadId = GetCurrentThreadId();
  OutputDebugStringA(fw::Format("Named MainThreadId = 0x%x\". ", static_cast<unsigned>(gMainThreadId)).c_str());
}

uint32_t MainThreadId() {
  uint32_t id = gMainThreadId;
  return id != 0 ? id : GetCurrentThreadId();
}

void RunInMainThread(const std::function<void()>& Method) {
  if (GetCurrentThreadId() != MainThreadId()) throw EAssertionFailed("Synchronize: can't find current thread object!");
  Method();
}

}  // namespace toolpage
