// Decoding what the server answers: extension look-ups, the replies of the base
// module's STD4 requests and of the remote-procedure channel. No windows.h: each
// decoder takes the bytes and lengths the client left and either returns the decoded
// values or raises TNWException with NW_INVALID_REPLY_LENGTH (EAssertionFailed where
// the program's own checks say so).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "NwErrors.h"
#include "NwTypes.h"

namespace toolpage {

constexpr int32_t kInvalidExtensionId = -1;

inline bool IsValidExtensionID(int32_t Id) {
  return Id != kInvalidExtensionId;
}

// What an extension look-up by name reported: the ID (-1 when the client call failed),
// the version bytes and the client's result.
struct TExtensionLookup {
  int32_t Id = kInvalidExtensionId;
  uint8_t Major = 0, Minor = 0, Revision = 0;
  NWCCODE Status = 0;
};
TExtensionLookup DecodeExtensionLookup(NWCCODE Code, uint32_t Id, uint8_t Major, uint8_t Minor, uint8_t Revision);

// An extension of version 4.0 opens no remote-procedure channels.
inline bool ExtensionOpensChannels(uint8_t Major, uint8_t Minor) {
  return !(Major == 4 && Minor == 0);
}

// Information on one loaded module as the module reports it on servers before 4.10.
struct NW_312_NLM_INFO {
  std::string FileName;
  int32_t Values[6] = {};
  std::string Text1;
  std::string Text2;
};

// The 32-bit value that a STD4 string request (sub-function 121, ...) answers: exactly
// 4 bytes. ReplyLen is the length the client reports, Capacity the buffer's size.
int32_t DecodeStd4StatusReply(uint8_t SubFunction, const uint8_t* Reply, size_t Capacity, size_t ReplyLen);
// The module information of sub-function 124: name (13 bytes), six 32-bit values, then
// two texts each after its 32-bit length. Raises when the reply is longer than its
// buffer, shorter than its fields, or its text lengths run past it.
void DecodeStd4NlmInfoReply(const uint8_t* Reply, size_t Capacity, size_t ReplyLen, NW_312_NLM_INFO& Info);

// The channel handle that opening remote procedure ProcID answers: exactly 4 bytes.
int32_t DecodeRProcOpenReply(uint32_t ProcID, const uint8_t* Reply, size_t Capacity, size_t ReplyLen);
// A call's reply may not be longer than the caller's buffer: raises EAssertionFailed
// "Response longer then receive buffer (%d,%d)!".
void CheckRProcCallReply(size_t ReplyLen, size_t Capacity);

}  // namespace toolpage
