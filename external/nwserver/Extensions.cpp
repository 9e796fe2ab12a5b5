// The NCP extensions that the product's server modules register: KAVEL:STD4 (NCF
// execution, module information) and the remote-procedure channel of KAVEL:CS4.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "Server.h"

namespace nwsim {

namespace {

void Put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t Get32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Copies a reply into the client's buffer. The reply length comes back as the reply's
// real length, also when the buffer was shorter (the client then sees the overflow).
void Answer(const std::vector<uint8_t>& data, uint8_t* reply, uint16_t* replyLen, size_t claimed = 0) {
  size_t cap = replyLen ? *replyLen : 0;
  if (reply && cap) memcpy(reply, data.data(), std::min(cap, data.size()));
  if (replyLen) *replyLen = static_cast<uint16_t>(claimed ? claimed : data.size());
}

std::vector<uint8_t> Std4ModuleInfo(const TConfig& config, const std::string& file, uint32_t index) {
  std::string text1 = "Simulated module " + ModuleBaseName(file);
  std::string text2 = "Simulated NetWare server " + config.ServerName;
  std::vector<uint8_t> r(45 + text1.size() + text2.size(), 0);
  memcpy(r.data(), file.data(), std::min<size_t>(13, file.size()));
  for (int i = 0; i < 6; ++i) Put32(&r[13 + 4 * i], i == 0 ? index : 0);
  uint32_t l1 = static_cast<uint32_t>(text1.size());
  if (config.HasFault("std4-info-bad-length")) l1 = 2000;  // longer than the reply
  Put32(&r[37], l1);
  memcpy(&r[41], text1.data(), text1.size());
  Put32(&r[41 + text1.size()], static_cast<uint32_t>(text2.size()));
  memcpy(&r[45 + text1.size()], text2.data(), text2.size());
  if (config.HasFault("std4-info-short")) r.resize(30);
  return r;
}

}  // namespace

uint32_t HandleStd4(const TConfig& config, const uint8_t* request, uint32_t length, uint8_t* reply,
                    uint16_t* replyLen) {
  if (length < 1) return kNotSupported;
  TStateSession session(config);
  switch (request[0]) {
    case 121: {
      std::string path(reinterpret_cast<const char*>(request + 1),
                       strnlen(reinterpret_cast<const char*>(request + 1), length - 1));
      uint32_t status = RunNcfFile(config, session, path);
      std::vector<uint8_t> r(4);
      Put32(r.data(), status);
      if (config.HasFault("std4-execute-short")) r.resize(2);
      Answer(r, reply, replyLen);
      return kOk;
    }
    case 124: {
      if (length < 5) return kNotSupported;
      uint32_t index = Get32(request + 1);
      const auto& modules = session.State().Modules;
      if (index >= modules.size()) return kFailure;
      Answer(Std4ModuleInfo(config, modules[index], index), reply, replyLen);
      return kOk;
    }
  }
  return kNotSupported;
}

// --- remote procedures -------------------------------------------------------

namespace {

const uint32_t kDirSearch = 0x10021;

// Counted texts of a search order: a 16-bit length, then the characters.
bool ReadCounted(const uint8_t* p, uint32_t length, uint32_t& pos, std::string& text) {
  if (pos + 2 > length) return false;
  uint32_t n = p[pos] | (p[pos + 1] << 8);
  if (pos + 2 + n > length) return false;
  text.assign(reinterpret_cast<const char*>(p + pos + 2), n);
  pos += 2 + n;
  return true;
}

std::vector<std::string> SplitList(const std::string& s) {
  std::vector<std::string> list;
  std::string item;
  for (char c : s + ",") {
    if (c == ',') {
      if (!item.empty()) list.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  return list;
}

// Adds the entries of one directory (and, with Recurse, of its subdirectories) to the
// search's results; each result names its directory by its index in channel.Directories.
void SearchDirectory(const TConfig& config, TStateSession& session, const TNwPath& dir, const std::string& host,
                     const std::string& wireDir, const std::vector<std::string>& masks, bool withDirs, bool longNames,
                     bool recurse, TChannel& channel) {
  TVolumes volumes(config);
  const uint32_t dirIndex = static_cast<uint32_t>(channel.Directories.size());
  channel.Directories.push_back(wireDir);
  std::vector<TEntry> entries = volumes.List(host);
  for (size_t i = 0; i < entries.size(); ++i) {
    const TEntry& e = entries[i];
    std::string name = ToWire(config, longNames ? e.Name : DosNameIn(entries, i));
    TNwPath entry = dir;
    entry.Parts.push_back(e.Name);
    bool match = false;
    for (const std::string& m : masks) match = match || WildMatch(m, name);
    if (match && (withDirs || !e.Directory)) {
      auto a = session.State().Attributes.find(entry.Key());
      uint32_t attributes =
          (a == session.State().Attributes.end() ? 0 : a->second) | (e.Directory ? uint32_t(faDirectory) : 0u);
      channel.Results.push_back({dirIndex, attributes, 0, name});
    }
    if (recurse && e.Directory)
      SearchDirectory(config, session, entry, host + "\\" + e.Name, wireDir + "\\" + name, masks, withDirs, longNames,
                      true, channel);
  }
}

uint32_t OpenSearch(const TConfig& config, const uint8_t* params, uint32_t length, TChannel& channel) {
  if (length < 48) return kNotSupported;
  bool withDirs = (params[11] & 2) != 0;
  bool recurse = (params[8] & 1) != 0;  // option A, bit 0: subdirectories too
  uint32_t pos = 48;
  std::string start, masks, names, extra1, extra2;
  if (!ReadCounted(params, length, pos, start) || !ReadCounted(params, length, pos, masks) ||
      !ReadCounted(params, length, pos, names) || !ReadCounted(params, length, pos, extra1) ||
      !ReadCounted(params, length, pos, extra2))
    return kNotSupported;
  TNwPath nw, canonical;
  std::string host;
  uint32_t code;
  if (!ParseNwPath(FromWire(config, start), nullptr, nw)) return kInvalidPath;
  TVolumes volumes(config);
  if (!volumes.Resolve(nw, host, canonical, code)) return code;
  bool dir = false;
  if (!volumes.Exists(host, &dir) || !dir) return kInvalidPath;
  TStateSession session(config);
  const auto& spaces = session.State().NameSpaces[canonical.Volume];
  bool longNames = std::find(spaces.begin(), spaces.end(), 4) != spaces.end();
  channel.StartDir = start;
  channel.OpenTick = GetTickCount();
  SearchDirectory(config, session, canonical, host, start, SplitList(masks), withDirs, longNames, recurse, channel);
  return kOk;
}

// How many results the search has found so far: all at once, or step by step over time.
size_t FoundSoFar(const TConfig& config, const TChannel& channel) {
  if (config.SearchStep <= 0 || config.SearchStepMs <= 0) return channel.Results.size();
  size_t steps = (GetTickCount() - channel.OpenTick) / static_cast<uint32_t>(config.SearchStepMs);
  return std::min(channel.Results.size(), steps * static_cast<size_t>(config.SearchStep));
}

std::vector<uint8_t> SearchStatus(const TConfig& config, TChannel& channel) {
  std::vector<uint8_t> r(277, 0);
  size_t found = FoundSoFar(config, channel);
  bool finished = found == channel.Results.size();
  if (config.HasFault("search-never-finishes")) {
    found = channel.Results.size() + 1;  // one entry that never comes
    finished = false;
  }
  if (config.HasFault("search-found-huge")) found = 0x7FFFFFFF;  // more than any listing holds
  Put32(&r[0], static_cast<uint32_t>(found));
  if (config.HasFault("search-busy-forever")) {
    // Never finished, one entry short, and a counter that moves with every status call.
    Put32(&r[0], static_cast<uint32_t>(channel.Results.size() + 1));
    Put32(&r[4], ++channel.StatusCalls);
    finished = false;
  }
  if (config.HasFault("search-found-creeps") || config.HasFault("search-trickles")) {
    // One entry more found with every status call, never finished.
    Put32(&r[0], ++channel.StatusCalls);
    finished = false;
  }
  r[20] = finished ? 1 : 0;
  memcpy(&r[21], channel.StartDir.data(), std::min<size_t>(255, channel.StartDir.size()));
  return r;
}

std::vector<uint8_t> SearchResults(const TConfig& config, TChannel& channel, size_t capacity) {
  std::vector<uint8_t> r(4, 0);
  if (config.HasFault("search-found-creeps")) return r;  // the entries found never come
  if (config.HasFault("search-trickles")) {
    // Each entry announced comes, an invented name each.
    while (channel.Results.size() < channel.StatusCalls) {
      TSearchResult invented;
      invented.Name = "T" + std::to_string(channel.Results.size()) + ".DAT";
      channel.Results.push_back(invented);
    }
  }
  uint32_t count = 0, sum = 0;
  const size_t available = config.HasFault("search-trickles") ? channel.Results.size() : FoundSoFar(config, channel);
  while (channel.Next < available) {
    const TSearchResult& s = channel.Results[channel.Next];
    uint32_t len = static_cast<uint32_t>(30 + s.Name.size() + 1);
    if (sum + len > 4097 || r.size() + len > capacity) break;
    std::vector<uint8_t> rec(len, 0);
    Put32(&rec[0], config.HasFault("results-bad-length") ? 3000 : len);
    Put32(&rec[4], s.DirIndex);
    Put32(&rec[8], s.Attributes);
    Put32(&rec[26], s.Size);
    memcpy(&rec[30], s.Name.data(), s.Name.size());
    r.insert(r.end(), rec.begin(), rec.end());
    sum += len;
    ++count;
    ++channel.Next;
  }
  Put32(&r[0], count);
  return r;
}

}  // namespace

uint32_t HandleRemoteProcedure(const TConfig& config, uint32_t conn, uint32_t extension, const uint8_t* request,
                               uint32_t length, uint8_t* reply, uint16_t* replyLen) {
  TProcessSession& s = TProcessSession::Instance();
  if (length < 1) return kNotSupported;
  switch (request[0]) {
    case 0xDC: {  // open: procedure number, parameters; answers the channel handle
      if (length < 5) return kNotSupported;
      uint32_t procedure = Get32(request + 1);
      if (extension != ExtensionId("KAVEL:CS4") || procedure != kDirSearch) return kNotSupported;
      TChannel channel;
      channel.Conn = conn;
      channel.Procedure = procedure;
      uint32_t code = OpenSearch(config, request + 5, length - 5, channel);
      if (code != kOk) return code;
      uint32_t handle;
      {
        std::lock_guard<std::mutex> guard(s.Lock);
        handle = s.NextChannel++;
        s.Channels[handle] = channel;
      }
      std::vector<uint8_t> r(4);
      Put32(r.data(), handle);
      if (config.HasFault("rproc-open-short")) r.resize(2);
      Answer(r, reply, replyLen);
      return kOk;
    }
    case 0xDE: {  // call: channel, function, data
      if (length < 9) return kNotSupported;
      uint32_t handle = Get32(request + 1), function = Get32(request + 5);
      if (config.SearchDelayMs > 0) Sleep(static_cast<DWORD>(config.SearchDelayMs));
      std::lock_guard<std::mutex> guard(s.Lock);
      auto it = s.Channels.find(handle);
      if (it == s.Channels.end()) return kBadDirHandle;
      size_t cap = replyLen ? *replyLen : 0;
      std::vector<uint8_t> r;
      if (function == 0) {
        r = SearchStatus(config, it->second);
        if (config.HasFault("rproc-status-short")) r.resize(10);
      } else if (function == 4) {
        if (config.SearchClientErrorAt > 0 && ++it->second.ResultCalls >= config.SearchClientErrorAt)
          return kNoConnToServer;  // the connection broke in the middle of the listing
        r = SearchResults(config, it->second, cap);
      } else if (function == 1) {
        uint32_t index = length >= 13 ? Get32(request + 9) : 0;
        const bool endless = config.HasFault("dirnames-endless");  // the lie: a name for every index
        if (index >= it->second.Directories.size() && !endless) return kFailure;
        const std::string dir =
            index < it->second.Directories.size() ? it->second.Directories[index] : "SYS:DIR" + std::to_string(index);
        r.assign(dir.begin(), dir.end());
        r.push_back(0);
      } else {
        return kNotSupported;
      }
      Answer(r, reply, replyLen, config.HasFault("rproc-reply-overflow") ? cap + 10 : 0);
      return kOk;
    }
    case 0xDD: {  // close
      if (length < 5) return kNotSupported;
      std::lock_guard<std::mutex> guard(s.Lock);
      s.Channels.erase(Get32(request + 1));
      if (replyLen) *replyLen = 0;
      return kOk;
    }
  }
  return kNotSupported;
}

void FillEntryInfo(uint8_t* info, const std::string& name, uint32_t attributes) {
  memset(info, 0, 344);
  Put32(info + 4, attributes);
  size_t n = std::min<size_t>(name.size(), 255);
  info[84] = static_cast<uint8_t>(n);
  memcpy(info + 85, name.data(), std::min<size_t>(n, 344 - 86));
}

}  // namespace nwsim
