#include "SearchWire.h"

#include <algorithm>
#include <cstring>

#include "NwErrors.h"
#include "WireFormat.h"

namespace toolpage {

namespace {

void PutLE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

std::string JoinUpper(const std::vector<std::string>& List) {
  std::string joined;
  for (size_t i = 0; i < List.size(); ++i) joined += (i ? "," : "") + List[i];
  return fw::UpperCase(joined);
}

// The variable area: counted texts appended while they fit into 1025 bytes.
class TVarArea {
 public:
  void AddCounted(const std::string& Text) {
    if (FBytes.size() + 2 + Text.size() > kSearchVarAreaCapacity) throw EAssertionFailed("Buffer to short!");
    uint8_t length[2];
    PutLE16(length, static_cast<uint16_t>(Text.size()));
    FBytes.insert(FBytes.end(), length, length + 2);
    FBytes.insert(FBytes.end(), Text.begin(), Text.end());
  }
  const std::vector<uint8_t>& Bytes() const { return FBytes; }

 private:
  std::vector<uint8_t> FBytes;
};

[[noreturn]] void BrokenSearchReply(const std::string& What) {
  throw TNWException("Invalid reply of KAVEL:CS4: " + What, NW_INVALID_REPLY_LENGTH);
}

}  // namespace

void InitSearchCtrl(TSearchCtrl& Ctrl) {
  Ctrl = TSearchCtrl();
}

std::vector<uint8_t> BuildSearchRequest(TSearchCtrl& Ctrl, uint32_t ListCount) {
  std::vector<uint8_t> request(kSearchHeaderSize, 0);
  PutLE32(&request[4], ListCount);
  request[8] = Ctrl.OptionA;
  request[9] = ListCount != 0 ? 1 : 0;
  request[10] = Ctrl.OptionB == 0 ? 0xFF : 0;
  request[11] = Ctrl.OptionD;
  request[12] = Ctrl.OptionC;
  request[16] = Ctrl.E1;
  request[17] = Ctrl.E2;
  request[18] = Ctrl.E3;
  request[19] = Ctrl.E4;
  request[20] = Ctrl.E5;
  PutLE32(&request[21], Ctrl.V1);
  PutLE32(&request[25], Ctrl.V2);
  request[29] = Ctrl.F1;
  request[30] = Ctrl.F2;
  PutLE32(&request[31], Ctrl.V3);
  PutLE32(&request[35], Ctrl.V4);
  request[39] = Ctrl.G;
  PutLE32(&request[40], Ctrl.V5);
  PutLE32(&request[44], Ctrl.V6);
  for (std::string& mask : Ctrl.Masks)
    if (mask == "*") mask = "*.*";
  TVarArea area;
  area.AddCounted(Ctrl.StartDir);
  area.AddCounted(JoinUpper(Ctrl.Masks));
  area.AddCounted(JoinUpper(Ctrl.Names));
  area.AddCounted(Ctrl.Extra1);
  area.AddCounted(Ctrl.Extra2);
  request.insert(request.end(), area.Bytes().begin(), area.Bytes().end());
  return request;
}

TSearchStatus DecodeSearchStatus(const uint8_t* Reply, size_t Capacity, size_t ReplyLen) {
  if (ReplyLen > Capacity || ReplyLen < 21)
    BrokenSearchReply(fw::Format("search status of %u bytes", unsigned(ReplyLen)));
  TSearchStatus status;
  status.Found = GetLE32(Reply);
  status.C1 = GetLE32(Reply + 4);
  status.C4 = GetLE32(Reply + 8);
  status.C2 = GetLE32(Reply + 12);
  status.C3 = GetLE32(Reply + 16);
  status.Finished = Reply[20] != 0;
  const char* dir = reinterpret_cast<const char*>(Reply + 21);
  status.CurrentDir.assign(dir, strnlen(dir, std::min<size_t>(256, ReplyLen - 21)));
  return status;
}

uint32_t EntryDirIndex(const TSearchEntry& Entry) {
  return GetLE32(&Entry[kEntryDirIndexOffset]);
}

std::string EntryName(const TSearchEntry& Entry) {
  const char* p = reinterpret_cast<const char*>(&Entry[kEntryNameOffset]);
  return std::string(p, strnlen(p, std::min<size_t>(256, Entry.size() - kEntryNameOffset)));
}

bool UnpackSearchResult(const uint8_t* Raw, size_t Length, TSearchEntry& Entry) {
  Entry.fill(0);
  if (Length <= kRawRecordFixedSize) return false;
  const char* name = reinterpret_cast<const char*>(Raw + kRawRecordFixedSize);
  size_t nameLength = strnlen(name, Length - kRawRecordFixedSize);
  if (nameLength == Length - kRawRecordFixedSize || nameLength > 255) return false;  // unterminated or too long
  PutLE32(&Entry[56], GetLE32(Raw + 4));
  PutLE32(&Entry[4], GetLE32(Raw + 8));
  memcpy(&Entry[32], Raw + 12, 2);
  memcpy(&Entry[34], Raw + 14, 2);
  memcpy(&Entry[22], Raw + 16, 2);
  memcpy(&Entry[24], Raw + 18, 2);
  memcpy(&Entry[40], Raw + 20, 2);
  memcpy(&Entry[42], Raw + 22, 2);
  memcpy(&Entry[44], Raw + 24, 2);
  PutLE32(&Entry[12], GetLE32(Raw + 26));
  Entry[kEntryNameLengthOffset] = static_cast<uint8_t>(nameLength);
  memcpy(&Entry[kEntryNameOffset], name, nameLength);
  return true;
}

bool DecodeSearchResults(const uint8_t* Reply, size_t Capacity, size_t ReplyLen, std::vector<TSearchEntry>& Entries) {
  Entries.clear();
  if (ReplyLen > Capacity || ReplyLen < 4) return false;
  const uint32_t count = GetLE32(Reply);
  size_t pos = 4, sum = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (ReplyLen - pos < 4) break;
    const uint32_t length = GetLE32(Reply + pos);
    TSearchEntry entry;
    if (length > ReplyLen - pos || !UnpackSearchResult(Reply + pos, length, entry)) break;
    sum += length;
    if (sum > kSearchResultsBatch) break;
    Entries.push_back(entry);
    pos += length;
  }
  if (Entries.size() != count) {
    Entries.clear();
    return false;
  }
  return true;
}

std::string DecodeDirectoryName(const uint8_t* Reply, size_t Capacity, size_t ReplyLen) {
  if (ReplyLen > Capacity) BrokenSearchReply(fw::Format("directory name of %u bytes", unsigned(ReplyLen)));
  if (ReplyLen == 0) return std::string();
  const char* p = reinterpret_cast<const char*>(Reply);
  return std::string(p, strnlen(p, ReplyLen));
}

}  // namespace toolpage
