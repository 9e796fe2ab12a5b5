// Running a method in the main thread.
#pragma once

#include <cstdint>
#include <functional>

namespace toolpage {

// Records the calling thread as the main thread and names it on the debugger output.
void InitExThreads();
uint32_t MainThreadId();

// Calls Method at once in the main thread; from any other thread raises
// EAssertionFailed "Synchronize: can't find current thread object!" (no worker
// thread registers itself for synchronisation).
void RunInMainThread(const std::function<void()>& Method);

}  // namespace toolpage
