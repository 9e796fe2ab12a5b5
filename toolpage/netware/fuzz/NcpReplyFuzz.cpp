// Feeds the decoders of server replies with what a broken or hostile server might send.
// The first byte picks the decoder; the next bytes give the lengths the client would
// report, the rest is the reply buffer (its size is the buffer's capacity).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "NcpReplies.h"
#include "WireFormat.h"

using namespace toolpage;

namespace {

enum : uint8_t { kLookup, kStd4Status, kStd4NlmInfo, kRProcOpen, kRProcCall, kDecoderCount };

void Require(bool Condition) {
  if (!Condition) __builtin_trap();
}

// Reads the input front to back; missing bytes read as zero.
class TInput {
 public:
  TInput(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
  uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  uint32_t Long() {
    uint32_t low = Word();
    return low | (static_cast<uint32_t>(Word()) << 16);
  }
  // The rest, copied so that the sanitizer sees its exact end.
  std::vector<uint8_t> Rest() { return std::vector<uint8_t>(FData + FPos, FData + FSize); }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

void FuzzLookup(TInput& In) {
  NWCCODE code = In.Long();
  uint32_t id = In.Long();
  uint8_t major = In.Byte(), minor = In.Byte(), revision = In.Byte();
  TExtensionLookup found = DecodeExtensionLookup(code, id, major, minor, revision);
  Require(found.Status == code);
  Require(code == 0 ? found.Id == static_cast<int32_t>(id) : found.Id == kInvalidExtensionId);
  Require(found.Major == major && found.Minor == minor && found.Revision == revision);
}

void FuzzStd4Status(TInput& In) {
  uint8_t subFunction = In.Byte();
  uint16_t replyLen = In.Word();
  std::vector<uint8_t> reply = In.Rest();
  try {
    int32_t value = DecodeStd4StatusReply(subFunction, reply.data(), reply.size(), replyLen);
    Require(replyLen == 4 && reply.size() >= 4 && value == static_cast<int32_t>(GetLE32(reply.data())));
  } catch (const TNWException& e) {
    Require(e.ErrorCode() == NW_INVALID_REPLY_LENGTH && (replyLen != 4 || reply.size() < 4));
  }
}

void FuzzNlmInfo(TInput& In) {
  uint16_t replyLen = In.Word();
  std::vector<uint8_t> reply = In.Rest();
  NW_312_NLM_INFO info;
  info.FileName = "stale";
  try {
    DecodeStd4NlmInfoReply(reply.data(), reply.size(), replyLen, info);
    Require(replyLen <= reply.size());
    Require(info.FileName.size() <= 13);
    // Everything decoded came from within the reply: the fixed part and both texts.
    Require(41 + info.Text1.size() + 4 + info.Text2.size() <= replyLen);
    Require(memcmp(reply.data() + 41, info.Text1.data(), info.Text1.size()) == 0);
  } catch (const TNWException& e) {
    Require(e.ErrorCode() == NW_INVALID_REPLY_LENGTH);
    Require(info.FileName.empty() && info.Text1.empty() && info.Text2.empty());
  }
}

void FuzzRProcOpen(TInput& In) {
  uint32_t procId = In.Long();
  uint16_t replyLen = In.Word();
  std::vector<uint8_t> reply = In.Rest();
  try {
    int32_t channel = DecodeRProcOpenReply(procId, reply.data(), reply.size(), replyLen);
    Require(replyLen == 4 && reply.size() >= 4 && channel == static_cast<int32_t>(GetLE32(reply.data())));
  } catch (const TNWException& e) {
    Require(e.ErrorCode() == NW_INVALID_REPLY_LENGTH && (replyLen != 4 || reply.size() < 4));
  }
}

void FuzzRProcCall(TInput& In) {
  uint16_t capacity = In.Word();
  uint16_t replyLen = In.Word();
  try {
    CheckRProcCallReply(replyLen, capacity);
    Require(replyLen <= capacity);
  } catch (const EAssertionFailed&) {
    Require(replyLen > capacity);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  TInput in(Data + 1, Size - 1);
  switch (Data[0] % kDecoderCount) {
    case kLookup:
      FuzzLookup(in);
      break;
    case kStd4Status:
      FuzzStd4Status(in);
      break;
    case kStd4NlmInfo:
      FuzzNlmInfo(in);
      break;
    case kRProcOpen:
      FuzzRProcOpen(in);
      break;
    case kRProcCall:
      FuzzRProcCall(in);
      break;
  }
  return 0;
}
