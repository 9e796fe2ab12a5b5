#include "Std4Requests.h"

#include <cstring>

#include "ClientApi.h"
#include "NcpExtensions.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "WireFormat.h"

namespace toolpage {

const char* const kStd4Extension = "KAVEL:STD4";

namespace {

const size_t kStringRequestSize = 258;
const size_t kNlmInfoReplySize = 1062;
const size_t kNlmInfoFixedSize = 41;  // name, six values, first length

[[noreturn]] void BadReply(const std::string& What) {
  throw TNWException(fw::Format("Invalid reply of %s: %s", kStd4Extension, What.c_str()), NW_INVALID_REPLY_LENGTH);
}

}  // namespace

std::vector<uint8_t> BuildStd4StringRequest(uint8_t SubFunction, const std::string& Text) {
  std::vector<uint8_t> request(kStringRequestSize, 0);
  request[0] = SubFunction;
  size_t n = std::min<size_t>(Text.size(), 256);
  memcpy(&request[1], Text.data(), n);  // the terminator and the rest stay zero
  return request;
}

std::vector<uint8_t> BuildStd4NlmInfoRequest(int32_t Index) {
  std::vector<uint8_t> request(5, 0);
  request[0] = std4NlmInfo;
  PutLE32(&request[1], static_cast<uint32_t>(Index));
  return request;
}

void DecodeStd4NlmInfo(const uint8_t* Reply, size_t Received, NW_312_NLM_INFO& Info) {
  Info = NW_312_NLM_INFO();
  if (Received < kNlmInfoFixedSize)
    BadReply(fw::Format("module information of %u bytes, at least %u expected", unsigned(Received),
                        unsigned(kNlmInfoFixedSize)));
  Info.FileName.assign(reinterpret_cast<const char*>(Reply), strnlen(reinterpret_cast<const char*>(Reply), 13));
  for (int i = 0; i < 6; ++i) Info.Values[i] = static_cast<int32_t>(GetLE32(Reply + 13 + 4 * i));
  int32_t l1 = static_cast<int32_t>(GetLE32(Reply + 37));
  size_t pos = kNlmInfoFixedSize;
  if (l1 < 0 || static_cast<size_t>(l1) > Received - pos || Received - pos - l1 < 4)
    BadReply(fw::Format("first text of %d bytes in a reply of %u bytes", l1, unsigned(Received)));
  Info.Text1.assign(reinterpret_cast<const char*>(Reply + pos), l1);
  pos += l1;
  int32_t l2 = static_cast<int32_t>(GetLE32(Reply + pos));
  pos += 4;
  if (l2 > 0) {
    if (static_cast<size_t>(l2) > Received - pos)
      BadReply(fw::Format("second text of %d bytes in a reply of %u bytes", l2, unsigned(Received)));
    Info.Text2.assign(reinterpret_cast<const char*>(Reply + pos), l2);
  }
}

int32_t Std4StringRequest(TConnRef ConnRef, uint8_t SubFunction, const std::string& Text) {
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return -1;
  int32_t id = GetNCPExtension(conn.Handle(), kStd4Extension, nullptr, nullptr, nullptr, nullptr);
  if (!IsValidExtensionID(id)) return -1;
  std::vector<uint8_t> request = BuildStd4StringRequest(SubFunction, Text);
  uint8_t reply[4] = {};
  uint16_t replyLen = sizeof reply;
  NWCCODE code = nwc::ExtensionRequest(conn.Handle(), static_cast<uint32_t>(id), request.data(),
                                       static_cast<uint32_t>(request.size()), reply, &replyLen);
  if (code != 0) return -1;
  if (replyLen != sizeof reply)
    BadReply(fw::Format("sub-function %d answered %u bytes instead of 4", SubFunction, unsigned(replyLen)));
  return static_cast<int32_t>(GetLE32(reply));
}

int32_t Std4ExecuteNcf(TConnRef ConnRef, const std::string& NcfPath) {
  return Std4StringRequest(ConnRef, std4ExecuteNcf, NcfPath);
}

int32_t Std4GetNlmInfo(TConnRef ConnRef, int32_t Index, NW_312_NLM_INFO& Info) {
  Info = NW_312_NLM_INFO();
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return -1;
  int32_t id = GetNCPExtension(conn.Handle(), kStd4Extension, nullptr, nullptr, nullptr, nullptr);
  if (!IsValidExtensionID(id)) return -1;
  std::vector<uint8_t> request = BuildStd4NlmInfoRequest(Index);
  std::vector<uint8_t> reply(kNlmInfoReplySize, 0);
  uint16_t replyLen = static_cast<uint16_t>(reply.size());
  NWCCODE code = nwc::ExtensionRequest(conn.Handle(), static_cast<uint32_t>(id), request.data(),
                                       static_cast<uint32_t>(request.size()), reply.data(), &replyLen);
  if (code != 0) return static_cast<int32_t>(code);
  if (replyLen > reply.size())
    BadReply(
        fw::Format("module information of %u bytes for a buffer of %u", unsigned(replyLen), unsigned(reply.size())));
  DecodeStd4NlmInfo(reply.data(), replyLen, Info);
  return 0;
}

}  // namespace toolpage
