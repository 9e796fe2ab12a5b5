#include "Std4Requests.h"

#include <cstring>

#include "ClientApi.h"
#include "NcpExtensions.h"
#include "NwConnection.h"
#include "WireFormat.h"

namespace toolpage {

const char* const kStd4Extension = "KAVEL:STD4";

namespace {

const size_t kStringRequestSize = 258;
const size_t kNlmInfoReplySize = 1062;
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
  return DecodeStd4StatusReply(SubFunction, reply, sizeof reply, replyLen);
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
  DecodeStd4NlmInfoReply(reply.data(), reply.size(), replyLen, Info);
  return 0;
}

}  // namespace toolpage
