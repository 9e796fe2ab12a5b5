// CLXWIN32.DLL stand-in: connection handles and connection information.
#include <cstdint>

#include "nwsim.h"

#define ENTRY extern "C" uint32_t __stdcall

ENTRY ClxOpenConnByRef(uint32_t ref, uint32_t mode, uint32_t, uint32_t* conn) {
  return nwsim_OpenConnByRef(ref, mode, conn);
}

ENTRY ClxCloseConn(uint32_t conn) {
  return nwsim_CloseConn(conn);
}
ENTRY ClxConnRef(uint32_t conn, uint32_t* ref) {
  return nwsim_ConnRefOfHandle(conn, ref);
}

ENTRY ClxConnInfo(uint32_t ref, uint32_t level, uint8_t* block) {
  return level == 2 ? nwsim_ConnInfoLevel2(ref, block) : 0x8836;
}
