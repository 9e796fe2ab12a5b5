// LOCWIN32.DLL and the login library stand-ins: nothing of them is called; they only
// have to be found and loaded.
#include <cstdint>

extern "C" uint32_t __stdcall LibraryPresent() {
  return 0;
}
