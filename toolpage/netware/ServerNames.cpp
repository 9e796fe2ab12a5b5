#include "ServerNames.h"

#include <windows.h>

#include "ClientApi.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "ServerPaths.h"

namespace toolpage {

namespace {

constexpr size_t kNameSize = 257;

// Closes the connection handle that the client's path splitter opened.
class TParsedConn {
 public:
  ~TParsedConn() {
    if (Handle != 0) nwc::CloseConn(Handle);
  }
  TConnHandle Handle = 0;
};

}  // namespace

std::string OemToAnsiStr(const std::string& S) {
  std::string result = S;
  if (!result.empty()) OemToCharBuffA(S.data(), result.data(), static_cast<DWORD>(S.size()));
  return result;
}

std::string AnsiToOemStr(const std::string& S) {
  std::string result = S;
  if (!result.empty()) CharToOemBuffA(S.data(), result.data(), static_cast<DWORD>(S.size()));
  return result;
}

std::string ServerPathToUNCByHandle(TConnHandle Conn, const std::string& Path) {
  if (Conn == 0 || IsUNCOrDrivePath(Path)) return Path;
  const std::string share = ServerPathToShareForm(Path);
  char server[kNameSize] = {};
  NWCCODE code = nwc::ServerName(Conn, server);
  server[kNameSize - 1] = 0;
  if (code != 0) CheckNWError("Unable to read the name of the server", code);
  return MakeUNCPath(server, OemToAnsiStr(share));
}

std::string ServerPathToUNC(TConnRef ConnRef, const std::string& Path) {
  if (Path.compare(0, 2, "\\\\") == 0 || Path.find('/') == std::string::npos) {
    TNWConnection conn(ConnRef);
    return conn.IsOpen() ? ServerPathToUNCByHandle(conn.Handle(), Path) : Path;
  }
  char volume[kNameSize] = {}, server[kNameSize] = {}, directory[kNameSize] = {};
  TParsedConn parsed;
  NWCCODE code = nwc::ParseNetWarePath(Path.c_str(), volume, parsed.Handle, server, directory);
  volume[kNameSize - 1] = server[kNameSize - 1] = directory[kNameSize - 1] = 0;
  if (code != 0 || parsed.Handle == 0) return Path;
  return OemToAnsiStr(JoinServerPath(MakeUNCPath(server, volume), directory));
}

}  // namespace toolpage
