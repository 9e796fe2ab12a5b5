// A channel to a remote procedure behind a server module's NCP extension:
// opened with a procedure number and parameters, called with function codes, closed.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "NwTypes.h"

namespace toolpage {

enum : uint8_t { rpOpen = 0xDC, rpClose = 0xDD, rpCall = 0xDE };

// Status of a requester whose channel is not open when a call is asked for.
constexpr NWCCODE kRProcChannelNotOpen = 0xFFFFFFFF;

// The window told when requesters come and go (WM_USER + 200, 1 = created, 0 = destroyed);
// the page sets its main form's window. Nil: nobody is told.
void SetRequesterNotifyWindow(void* Window);

class TRProcRequester {
 public:
  TRProcRequester(TConnRef ConnRef, const std::string& ExtensionName);
  virtual ~TRProcRequester();
  TRProcRequester(const TRProcRequester&) = delete;
  TRProcRequester& operator=(const TRProcRequester&) = delete;

  // Opens the channel; false (nothing sent) without the extension or when it is version 4.0.
  // Raises EAssertionFailed for 512 or more bytes of parameters, TNWException when the
  // server's answer is not a channel handle.
  bool Open(uint32_t ProcID, const void* Params, uint32_t ParamLen);
  // Calls a function of the open channel; false without the extension or an open channel
  // (nothing sent), or when the client reports an error.
  virtual bool Call(uint32_t FuncCode, const void* Data, void* Reply, uint32_t DataLen, uint32_t ReplyCap);
  virtual void Close();

  bool IsOpen() const { return FChannel != -1; }
  bool HasExtension() const { return FExtensionId != -1; }
  void Lock() { FLock.lock(); }
  void Unlock() { FLock.unlock(); }
  TConnHandle GetConnHandle();
  void CloseConnHandle();

  NWCCODE Status() const { return FStatus; }
  uint32_t Duration() const { return FDuration; }
  uint16_t ReplyLength() const { return FReplyLen; }
  int32_t ExtensionId() const { return FExtensionId; }
  int32_t ChannelHandle() const { return FChannel; }

 protected:
  void NotifyMainForm(int Active);

 private:
  int32_t FExtensionId = -1;
  int32_t FChannel = -1;
  NWCCODE FStatus = 0;
  std::recursive_mutex FLock;
  uint8_t FMajor = 0, FMinor = 0;
  uint16_t FReplyLen = 0;
  uint32_t FDuration = 0;
  TConnHandle FConn = 0;
  TConnRef FConnRef = 0;
};

}  // namespace toolpage
