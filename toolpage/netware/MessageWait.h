// The page's waits on the server: the thread's windows keep answering meanwhile.
#pragma once

#include <cstdint>

namespace toolpage {

// Waits for Milliseconds while handling the thread's window messages. A WM_QUIT is put
// back for the message loop and ends the wait: then false (the program is ending).
bool WaitAnswering(uint32_t Milliseconds);

}  // namespace toolpage
