// NETWIN32.DLL stand-in: only its initialisation is called; the simulated server notes it.
#include <cstdint>

#include "nwsim.h"

extern "C" uint32_t __stdcall NetInit(uint32_t first, uint32_t second) {
  nwsim_NoteClientInit("NETWIN32", first, second);
  return 0;
}
