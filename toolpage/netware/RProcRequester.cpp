#include "RProcRequester.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "ClientApi.h"
#include "NcpExtensions.h"
#include "NcpReplies.h"
#include "WireFormat.h"

namespace toolpage {

namespace {

HWND gNotifyWindow = nullptr;
const UINT kRequesterMessage = WM_USER + 200;

uint32_t TickDistance(uint32_t a, uint32_t b) {
  return a > b ? a - b : b - a;
}

}  // namespace

void SetRequesterNotifyWindow(void* Window) {
  gNotifyWindow = static_cast<HWND>(Window);
}

TRProcRequester::TRProcRequester(TConnRef ConnRef, const std::string& ExtensionName) : FConnRef(ConnRef) {
  if (ConnRef == 0) {
    FStatus = 255;
  } else if (GetConnHandle() != 0) {
    uint8_t revision = 0;
    FExtensionId = GetNCPExtension(FConn, ExtensionName, &FMajor, &FMinor, &revision, &FStatus);
  }
  NotifyMainForm(1);
}

TRProcRequester::~TRProcRequester() {
  try {
    Close();
  } catch (...) {
    // the client call of a close cannot be reported from a destructor
  }
  CloseConnHandle();
  NotifyMainForm(0);
}

void TRProcRequester::NotifyMainForm(int Active) {
  if (gNotifyWindow && IsWindow(gNotifyWindow)) SendMessageA(gNotifyWindow, kRequesterMessage, Active, 0);
}

TConnHandle TRProcRequester::GetConnHandle() {
  if (FConn == 0) {
    TConnHandle handle = 0;
    FStatus = nwc::OpenConnByRef(FConnRef, 2, handle);
    FConn = FStatus == 0 ? handle : 0;
  }
  return FConn;
}

void TRProcRequester::CloseConnHandle() {
  if (FConn != 0) nwc::CloseConn(FConn);
  FConn = 0;
}

bool TRProcRequester::Open(uint32_t ProcID, const void* Params, uint32_t ParamLen) {
  if (!HasExtension() || !ExtensionOpensChannels(FMajor, FMinor)) return false;
  if (ParamLen >= 512) throw EAssertionFailed("ParamLen to loong!");
  std::vector<uint8_t> request(518, 0);
  request[0] = rpOpen;
  PutLE32(&request[1], ProcID);
  if (Params && ParamLen) memcpy(&request[5], Params, ParamLen);
  uint8_t reply[4] = {};
  uint16_t replyLen = sizeof reply;
  uint32_t start = GetTickCount();
  FStatus = nwc::ExtensionRequest(GetConnHandle(), static_cast<uint32_t>(FExtensionId), request.data(), ParamLen + 5,
                                  reply, &replyLen);
  FDuration = TickDistance(GetTickCount(), start);
  FChannel = -1;
  if (FStatus != 0) return false;
  FChannel = DecodeRProcOpenReply(ProcID, reply, sizeof reply, replyLen);
  return FChannel != -1;
}

bool TRProcRequester::Call(uint32_t FuncCode, const void* Data, void* Reply, uint32_t DataLen, uint32_t ReplyCap) {
  if (DataLen > 0x7FFF) throw EAssertionFailed("Assertion failure");
  std::lock_guard<std::recursive_mutex> guard(FLock);
  FDuration = 0;
  if (!HasExtension()) return false;
  if (!IsOpen()) {
    // A channel that failed to open (or was closed) is not asked anything.
    FStatus = kRProcChannelNotOpen;
    return false;
  }
  std::vector<uint8_t> request(DataLen + 10, 0);
  if (Reply == nullptr) ReplyCap = 0;
  if (ReplyCap > 0xFFFF) ReplyCap = 0xFFFF;  // the reply length travels as 16 bits
  if (ReplyCap > 0) memset(Reply, 0, ReplyCap);
  request[0] = rpCall;
  PutLE32(&request[1], static_cast<uint32_t>(FChannel));
  PutLE32(&request[5], FuncCode);
  if (Data && DataLen) memcpy(&request[9], Data, DataLen);
  FReplyLen = static_cast<uint16_t>(ReplyCap);
  uint32_t start = GetTickCount();
  FStatus = nwc::ExtensionRequest(GetConnHandle(), static_cast<uint32_t>(FExtensionId), request.data(), DataLen + 9,
                                  Reply, &FReplyLen);
  FDuration = TickDistance(GetTickCount(), start);
  CheckRProcCallReply(FReplyLen, ReplyCap);
  return FStatus == 0;
}

void TRProcRequester::Close() {
  if (HasExtension() && IsOpen()) {
    uint8_t request[8] = {};
    request[0] = rpClose;
    PutLE32(&request[1], static_cast<uint32_t>(FChannel));
    nwc::ExtensionRequest(FConn, static_cast<uint32_t>(FExtensionId), request, sizeof request, nullptr, nullptr);
  }
  FChannel = -1;
  CloseConnHandle();
}

}  // namespace toolpage
