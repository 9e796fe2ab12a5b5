#include "ConsoleCommands.h"

#include <windows.h>

#include "ClientApi.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "ServerFiles.h"
#include "ServerInfo.h"
#include "Std4Requests.h"
#include "WaitCursor.h"
#include "gui/WinHandles.h"

namespace toolpage {

const char* const kConsoleCommandFile = "PLUD_TMP.NCF";

namespace {

bool WriteCommandFile(const std::string& Path, const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  fw::TFileHandle file(
      CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

// Purges and deletes the command file when the run ends, also when it raises.
class TCommandFileCleanup {
 public:
  TCommandFileCleanup(TConnRef ConnRef, std::string ServerPath, std::string UNCPath)
      : FConnRef(ConnRef), FServerPath(std::move(ServerPath)), FUNCPath(std::move(UNCPath)) {}
  ~TCommandFileCleanup() {
    try {
      SetServerFileAttributesByRef(FConnRef, FServerPath, naPurgeOnDelete);
    } catch (...) {
      // the file is deleted without purging
    }
    DeleteFileA(FUNCPath.c_str());
  }
  TCommandFileCleanup(const TCommandFileCleanup&) = delete;
  TCommandFileCleanup& operator=(const TCommandFileCleanup&) = delete;

 private:
  TConnRef FConnRef;
  std::string FServerPath, FUNCPath;
};

}  // namespace

int32_t RunConsoleCommands(TConnRef ConnRef, const std::vector<std::string>& Lines) {
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return static_cast<int32_t>(conn.Status());
  TWaitCursorScope waitCursor;
  std::string uncPath;
  try {
    uncPath = ServerSystemUNC(ConnRef, kConsoleCommandFile);
  } catch (const TNWException&) {
    return -1;  // never a path on the local drive's root
  }
  const std::string serverPath = std::string("SYS:SYSTEM\\") + kConsoleCommandFile;
  if (!WriteCommandFile(uncPath, Lines)) return -1;
  TCommandFileCleanup cleanup(ConnRef, serverPath, uncPath);
  if (IsServerVersionAtLeast(ConnRef, 4, 10)) {
    int32_t status = static_cast<int32_t>(nwc::ConsoleOperatorTest(conn.Handle()));
    if (status == 0) status = static_cast<int32_t>(nwc::ExecuteNcf(conn.Handle(), serverPath.c_str()));
    return status;
  }
  return Std4ExecuteNcf(ConnRef, serverPath);
}

}  // namespace toolpage
