// NETWIN32.DLL stand-in: only its initialisation is called.
#include <cstdint>

extern "C" uint32_t __stdcall NetInit(uint32_t, uint32_t) { return 0; }
