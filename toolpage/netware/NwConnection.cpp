#include "NwConnection.h"

#include "ClientApi.h"

namespace toolpage {

TNWConnection::TNWConnection(TConnRef Ref, uint32_t OpenMode) {
  TConnHandle handle = 0;
  FStatus = nwc::OpenConnByRef(Ref, OpenMode, handle);
  FHandle = FStatus == 0 ? handle : 0;
}

void TNWConnection::Close() {
  if (FHandle != 0) nwc::CloseConn(FHandle);  // result ignored
  FHandle = 0;
}

bool HasRemoteExecRight(TConnRef ConnRef) {
  TNWConnection conn(ConnRef);
  return conn.IsOpen() && nwc::RemoteExecRightTest(conn.Handle()) == 0;
}

bool IsConsoleOperator(TConnRef ConnRef) {
  TNWConnection conn(ConnRef);
  return conn.IsOpen() && nwc::ConsoleOperatorTest(conn.Handle()) == 0;
}

}  // namespace toolpage
