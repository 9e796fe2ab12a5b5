#include "ServerPaths.h"

#include <cstring>

#include "NwErrors.h"
#include "WireFormat.h"

namespace toolpage {

std::string JoinServerPath(const std::string& Dir, const std::string& Name) {
  if (Dir.empty()) return Name;
  const char last = Dir.back();
  if (last == '/' || last == ':' || last == '\\')
    return Dir + (!Name.empty() && Name[0] == '\\' ? Name.substr(1) : Name);
  if (!Name.empty() && Name[0] != '\\') return Dir + "\\" + Name;
  return Dir + Name;
}

std::string ExtractVolume(const std::string& Path) {
  size_t colon = Path.find(':');
  return colon == std::string::npos ? std::string() : Path.substr(0, colon + 1);
}

bool IsUNCOrDrivePath(const std::string& Path) {
  return Path.compare(0, 2, "\\\\") == 0 || (Path.size() >= 2 && Path[1] == ':');
}

std::string ServerPathToShareForm(const std::string& Path) {
  std::string result = Path;
  size_t slash = result.find('/');
  if (slash != std::string::npos) result.erase(0, slash + 1);
  size_t colon = result.find(':');
  if (colon != std::string::npos) {
    if (colon + 1 < result.size() && result[colon + 1] == '\\')
      result.erase(colon, 1);
    else
      result[colon] = '\\';
  }
  return result;
}

bool IsPlainServerName(const std::string& Server) {
  if (Server.empty() || Server == "." || Server == "..") return false;
  for (unsigned char c : Server)
    if (c < 0x20 || c == 0x7F || strchr("\\/:*?\"<>|", c) != nullptr) return false;
  return true;
}

std::string MakeUNCPath(const std::string& Server, const std::string& ShareForm) {
  if (Server.empty()) throw TNWException("Unable to read the name of the server", NW_INVALID_REPLY_LENGTH);
  if (!IsPlainServerName(Server))
    throw TNWException(fw::Format("The server's name \"%s\" is no name of a server", Server.c_str()),
                       NW_INVALID_REPLY_LENGTH);
  return "\\\\" + Server + "\\" + ShareForm;
}

bool IsVolumeRoot(const std::string& Path) {
  size_t colon = Path.find(':');
  return colon != std::string::npos && colon > 0 && colon + 1 == Path.size() &&
         Path.find_first_of("\\/") == std::string::npos;
}

int32_t ServerVersionNumber(uint32_t Major, uint32_t Minor) {
  int64_t v = int64_t(Major) * 100 + Minor;
  return v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

bool IsVersionAtLeast(uint32_t Major, uint32_t Minor, uint32_t WantMajor, uint32_t WantMinor) {
  return Major > WantMajor || (Major == WantMajor && Minor >= WantMinor);
}

std::string BoundedText(const uint8_t* Block, size_t Size, size_t Offset) {
  if (Offset >= Size) return std::string();
  const char* p = reinterpret_cast<const char*>(Block + Offset);
  return std::string(p, strnlen(p, Size - Offset));
}

TConnInfo DecodeConnInfoLevel2(const uint8_t* Block140) {
  TConnInfo info;
  info.ServerName = BoundedText(Block140, kConnInfoSize, 56);
  info.Major = GetLE32(Block140 + 124);
  info.Minor = GetLE32(Block140 + 128);
  return info;
}

TModuleBatch DecodeModuleListBatch(const uint8_t* Buffer, size_t Size) {
  if (Size < 20)
    throw TNWException(fw::Format("Invalid list of loaded modules: %u bytes", unsigned(Size)), NW_INVALID_REPLY_LENGTH);
  TModuleBatch batch;
  uint32_t count = GetLE32(Buffer + 16);
  batch.More = count >= kModuleBatch;
  if (batch.More) count = kModuleBatch;
  if (count > (Size - 20) / 4)
    throw TNWException(fw::Format("Invalid list of loaded modules: %u numbers in %u bytes", count, unsigned(Size)),
                       NW_INVALID_REPLY_LENGTH);
  for (uint32_t i = 0; i < count; ++i) batch.Numbers.push_back(GetLE32(Buffer + 20 + 4 * i));
  return batch;
}

std::string NlmLookupName(const std::string& Name) {
  std::string name = fw::UpperCase(Name);
  size_t sep = name.find_last_of("\\/:");
  if (sep != std::string::npos) name.erase(0, sep + 1);
  if (name.find('.') == std::string::npos) name += ".NLM";
  return name;
}

TScanMask ScanMaskOf(const std::string& Mask) {
  TScanMask mask;
  mask.NamesWithoutDot = Mask == "*.";
  mask.Pattern = Mask == "*.*" || mask.NamesWithoutDot ? std::string(1, '*') : Mask;
  return mask;
}

std::string EntryInfoName(const uint8_t* Info344) {
  size_t length = Info344[84];  // at most 255: the name ends at offset 340
  const char* p = reinterpret_cast<const char*>(Info344 + 85);
  return std::string(p, strnlen(p, length));
}

}  // namespace toolpage
