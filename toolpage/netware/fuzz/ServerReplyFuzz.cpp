// Feeds the decoders of the server-information and server-side search replies, and the
// path conversions, with what a broken or hostile server (or a typed path) might give.
// The first byte picks the decoder; for replies the next two bytes give the length the
// client would report, the rest is the reply buffer (its size is the buffer's capacity).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "NwErrors.h"
#include "SearchWire.h"
#include "ServerPaths.h"
#include "WireFormat.h"

using namespace toolpage;

namespace {

enum : uint8_t { kStatus, kResults, kDirName, kModuleList, kConnInfo, kPaths, kDecoderCount };

void Require(bool Condition) {
  if (!Condition) __builtin_trap();
}

void FuzzStatus(uint16_t ReplyLen, const std::vector<uint8_t>& Reply) {
  try {
    TSearchStatus status = DecodeSearchStatus(Reply.data(), Reply.size(), ReplyLen);
    Require(ReplyLen >= 21 && ReplyLen <= Reply.size());
    Require(status.CurrentDir.size() <= 256 && 21 + status.CurrentDir.size() <= ReplyLen);
  } catch (const TNWException& e) {
    Require(e.ErrorCode() == NW_INVALID_REPLY_LENGTH && (ReplyLen < 21 || ReplyLen > Reply.size()));
  }
}

void FuzzResults(uint16_t ReplyLen, const std::vector<uint8_t>& Reply) {
  std::vector<TSearchEntry> entries;
  if (!DecodeSearchResults(Reply.data(), Reply.size(), ReplyLen, entries)) {
    Require(entries.empty());
    return;
  }
  Require(ReplyLen <= Reply.size() && entries.size() == GetLE32(Reply.data()));
  size_t pos = 4, sum = 0;
  for (const TSearchEntry& entry : entries) {
    // Each record lies within the bytes received and its name within the record.
    uint32_t length = GetLE32(Reply.data() + pos);
    sum += length;
    Require(pos + length <= ReplyLen && sum <= kSearchResultsBatch);
    std::string name = EntryName(entry);
    Require(name.size() == entry[kEntryNameLengthOffset] && 30 + name.size() < length);
    Require(memcmp(Reply.data() + pos + 30, name.data(), name.size()) == 0);
    Require(EntryDirIndex(entry) == GetLE32(Reply.data() + pos + 4));
    pos += length;
  }
}

void FuzzDirName(uint16_t ReplyLen, const std::vector<uint8_t>& Reply) {
  try {
    std::string name = DecodeDirectoryName(Reply.data(), Reply.size(), ReplyLen);
    Require(name.size() <= ReplyLen && ReplyLen <= Reply.size());
  } catch (const TNWException&) {
    Require(ReplyLen > Reply.size());
  }
}

void FuzzModuleList(const std::vector<uint8_t>& Reply) {
  try {
    TModuleBatch batch = DecodeModuleListBatch(Reply.data(), Reply.size());
    Require(batch.Numbers.size() <= kModuleBatch && 20 + 4 * batch.Numbers.size() <= Reply.size());
    Require(batch.More == (GetLE32(Reply.data() + 16) >= kModuleBatch));
  } catch (const TNWException& e) {
    Require(e.ErrorCode() == NW_INVALID_REPLY_LENGTH);
  }
}

void FuzzConnInfo(std::vector<uint8_t> Block) {
  Block.resize(kConnInfoSize);
  TConnInfo info = DecodeConnInfoLevel2(Block.data());
  Require(56 + info.ServerName.size() <= kConnInfoSize);
  std::vector<uint8_t> entry(Block.begin(), Block.end());
  entry.resize(kEntryInfoSize);
  Require(EntryInfoName(entry.data()).size() <= 255);
}

void FuzzPaths(const std::vector<uint8_t>& Bytes) {
  std::string text(Bytes.begin(), Bytes.end());
  size_t split = text.find('|');
  std::string dir = text.substr(0, split), name = split == std::string::npos ? "" : text.substr(split + 1);
  std::string joined = JoinServerPath(dir, name);
  Require(joined.size() <= dir.size() + name.size() + 1);
  Require(joined.compare(0, dir.size(), dir) == 0);
  std::string volume = ExtractVolume(text);
  Require(volume.empty() || (volume.back() == ':' && text.compare(0, volume.size(), volume) == 0));
  std::string share = ServerPathToShareForm(text);
  Require(share.size() <= text.size());
  try {
    std::string unc = MakeUNCPath(name, share);
    Require(IsPlainServerName(name) && unc.compare(0, 2, "\\\\") == 0 && unc.find('\\', 2) == 2 + name.size());
  } catch (const TNWException&) {
    Require(!IsPlainServerName(name));
  }
  std::string nlm = NlmLookupName(text);
  Require(nlm.find_first_of("\\/:") == std::string::npos && nlm.find('.') != std::string::npos);
  TSearchCtrl ctrl;
  ctrl.StartDir = dir;
  ctrl.Masks = {name, "*"};
  try {
    std::vector<uint8_t> request = BuildSearchRequest(ctrl, 0);
    Require(request.size() >= kSearchHeaderSize && request.size() <= kSearchHeaderSize + kSearchVarAreaCapacity);
  } catch (const EAssertionFailed&) {
    Require(dir.size() + name.size() > 900);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const uint8_t which = Data[0] % kDecoderCount;
  uint16_t replyLen = Size >= 3 ? static_cast<uint16_t>(Data[1] | (Data[2] << 8)) : 0;
  std::vector<uint8_t> rest(Data + std::min<size_t>(Size, 3), Data + Size);
  switch (which) {
    case kStatus:
      FuzzStatus(replyLen, rest);
      break;
    case kResults:
      FuzzResults(replyLen, rest);
      break;
    case kDirName:
      FuzzDirName(replyLen, rest);
      break;
    case kModuleList:
      FuzzModuleList(rest);
      break;
    case kConnInfo:
      FuzzConnInfo(rest);
      break;
    case kPaths:
      FuzzPaths(std::vector<uint8_t>(Data + 1, Data + Size));
      break;
  }
  return 0;
}
