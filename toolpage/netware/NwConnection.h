// A connection handle opened from a connection reference, closed on every path.
#pragma once

#include "NwTypes.h"

namespace toolpage {

class TNWConnection {
 public:
  // Open mode 1 everywhere but the remote-procedure requester (2).
  explicit TNWConnection(TConnRef Ref, uint32_t OpenMode = 1);
  ~TNWConnection() { Close(); }
  TNWConnection(const TNWConnection&) = delete;
  TNWConnection& operator=(const TNWConnection&) = delete;

  bool IsOpen() const { return FHandle != 0; }
  TConnHandle Handle() const { return FHandle; }
  NWCCODE Status() const { return FStatus; }  // the open call's result
  void Close();

 private:
  TConnHandle FHandle = 0;
  NWCCODE FStatus = 0;
};

// The two rights a remote NCF execution needs; false when no handle can be opened.
bool HasRemoteExecRight(TConnRef ConnRef);
bool IsConsoleOperator(TConnRef ConnRef);

}  // namespace toolpage
