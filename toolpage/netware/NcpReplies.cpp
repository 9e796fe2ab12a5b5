#include "NcpReplies.h"

#include <cstring>
#include <utility>

#include "WireFormat.h"

namespace toolpage {

namespace {

const char* const kStd4Name = "KAVEL:STD4";
constexpr size_t kNlmNameSize = 13;
constexpr size_t kNlmFixedSize = kNlmNameSize + 6 * 4 + 4;  // name, six values, first length

[[noreturn]] void BrokenReply(const std::string& What) {
  throw TNWException(What, NW_INVALID_REPLY_LENGTH);
}

[[noreturn]] void BrokenStd4Reply(const std::string& What) {
  BrokenReply(fw::Format("Invalid reply of %s: %s", kStd4Name, What.c_str()));
}

std::string TextAt(const uint8_t* P, size_t Length) {
  return std::string(reinterpret_cast<const char*>(P), Length);
}

}  // namespace

TExtensionLookup DecodeExtensionLookup(NWCCODE Code, uint32_t Id, uint8_t Major, uint8_t Minor, uint8_t Revision) {
  TExtensionLookup result;
  result.Status = Code;
  result.Id = Code == 0 ? static_cast<int32_t>(Id) : kInvalidExtensionId;
  result.Major = Major;
  result.Minor = Minor;
  result.Revision = Revision;
  return result;
}

int32_t DecodeStd4StatusReply(uint8_t SubFunction, const uint8_t* Reply, size_t Capacity, size_t ReplyLen) {
  if (ReplyLen != 4 || Capacity < 4)
    BrokenStd4Reply(fw::Format("sub-function %d answered %u bytes instead of 4", SubFunction, unsigned(ReplyLen)));
  return static_cast<int32_t>(GetLE32(Reply));
}

void DecodeStd4NlmInfoReply(const uint8_t* Reply, size_t Capacity, size_t ReplyLen, NW_312_NLM_INFO& Info) {
  Info = NW_312_NLM_INFO();  // a broken reply leaves it cleared
  if (ReplyLen > Capacity)
    BrokenStd4Reply(
        fw::Format("module information of %u bytes for a buffer of %u", unsigned(ReplyLen), unsigned(Capacity)));
  if (ReplyLen < kNlmFixedSize)
    BrokenStd4Reply(fw::Format("module information of %u bytes, at least %u expected", unsigned(ReplyLen),
                               unsigned(kNlmFixedSize)));
  NW_312_NLM_INFO decoded;
  decoded.FileName = TextAt(Reply, strnlen(reinterpret_cast<const char*>(Reply), kNlmNameSize));
  for (size_t i = 0; i < 6; ++i) decoded.Values[i] = static_cast<int32_t>(GetLE32(Reply + kNlmNameSize + 4 * i));
  size_t pos = kNlmFixedSize;
  const int32_t length1 = static_cast<int32_t>(GetLE32(Reply + pos - 4));
  // The first text and the second length must both fit.
  if (length1 < 0 || static_cast<size_t>(length1) > ReplyLen - pos || ReplyLen - pos - length1 < 4)
    BrokenStd4Reply(fw::Format("first text of %d bytes in a reply of %u bytes", length1, unsigned(ReplyLen)));
  decoded.Text1 = TextAt(Reply + pos, static_cast<size_t>(length1));
  pos += static_cast<size_t>(length1);
  const int32_t length2 = static_cast<int32_t>(GetLE32(Reply + pos));
  pos += 4;
  if (length2 > 0) {  // else no second text
    if (static_cast<size_t>(length2) > ReplyLen - pos)
      BrokenStd4Reply(fw::Format("second text of %d bytes in a reply of %u bytes", length2, unsigned(ReplyLen)));
    decoded.Text2 = TextAt(Reply + pos, static_cast<size_t>(length2));
  }
  Info = std::move(decoded);
}

int32_t DecodeRProcOpenReply(uint32_t ProcID, const uint8_t* Reply, size_t Capacity, size_t ReplyLen) {
  if (ReplyLen != 4 || Capacity < 4)
    BrokenReply(
        fw::Format("Invalid reply to opening remote procedure %x: %u bytes instead of 4", ProcID, unsigned(ReplyLen)));
  return static_cast<int32_t>(GetLE32(Reply));
}

void CheckRProcCallReply(size_t ReplyLen, size_t Capacity) {
  if (ReplyLen > Capacity)
    throw EAssertionFailed(fw::Format("Response longer then receive buffer (%d,%d)!", int(ReplyLen), int(Capacity)));
}

}  // namespace toolpage
