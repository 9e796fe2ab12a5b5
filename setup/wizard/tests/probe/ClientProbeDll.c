/* A client library for the client probe: its initialisation entry refuses (non-zero),
   or the library lacks the entry (its .def exports only the other function). */
#include <windows.h>

DWORD WINAPI ProbeInitRefuses(DWORD first, DWORD second) {
  (void)first;
  (void)second;
  return 0x8801;
}

DWORD WINAPI ProbeOther(void) { return 0; }
