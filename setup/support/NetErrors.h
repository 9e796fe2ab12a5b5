// The errors of the net install location. ENIL and its descendants add to their text the
// name of the last Windows error, the active location's host and the server's last
// response; the three plain ones carry only their own text.
#pragma once

#include <cstdint>
#include <string>

#include "core/SysUtils.h"
#include "support/Errors.h"

namespace setup {

// The symbolic name of an internet error code ("ERROR_INTERNET_TIMEOUT"), or
// "Unregistered error code".
std::string WinInetErrorName(uint32_t Code);

// The server's last response text, or "No server response" when the internet library is
// not loaded or has none.
std::string GetServerResponse();

class ENIL : public Exception {
 public:
  // Text, then the name of the last error, the host and the server's response.
  explicit ENIL(const std::string& Text);
  template <class... Args>
  requires(sizeof...(Args) > 0) ENIL(const std::string& Format, const Args&... args)
      : ENIL(fw::Format(Format, args...)) {}
  // The Windows error code at the time of the failure.
  uint32_t ErrorCode() const { return FErrorCode; }

 private:
  struct TFailure {
    uint32_t Code;
  };
  ENIL(const std::string& Text, TFailure Failure);
  uint32_t FErrorCode;
};

FW_EXCEPTION(ENIL_OpenSession, ENIL);
FW_EXCEPTION(ENIL_OpenService, ENIL);
FW_EXCEPTION(ENIL_FTPSetDir, ENIL);
FW_EXCEPTION(ENIL_FTPOpenFile, ENIL);
FW_EXCEPTION(ENIL_FTPCloseFile, ENIL);
FW_EXCEPTION(ENIL_HTTPOpenFile, ENIL);
FW_EXCEPTION(ENIL_HTTPSendRequest, ENIL);
FW_EXCEPTION(ENIL_FailDataQuery, ENIL);
FW_EXCEPTION(ENIL_ReadFile, ENIL);
FW_EXCEPTION(ENIL_FileNotFound, ENIL);

FW_EXCEPTION(ENIL_WriteDestFile, Exception);
FW_EXCEPTION(ENIL_FailLoadWININET, Exception);
FW_EXCEPTION(ENIL_FailLoadDLLProc, Exception);

// The global list of locations refuses nil.
SETUP_IEXCEPTION(IENetList, IException);

}  // namespace setup
