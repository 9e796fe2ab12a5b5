#include "FileDigest.h"

#include <windows.h>

#include <vector>

#include "archive/ArchiveStream.h"
#include "archive/FileSystem.h"
#include "engine/SelfExtractRecord.h"
#include "support/Errors.h"
#include "support/Sha0.h"

namespace setup {
namespace {

constexpr char kCannotCalculate[] = "Can't calculete CheckSum";

void RequireFile(const std::string& FileName) {
  if (!FileExists(FileName)) throw Exception(fw::Format("Can't find file \"%s\"!", FileName));
}

}  // namespace

std::string CalcFileCheckSum(const std::string& FileName, bool AllButTrailer) {
  RequireFile(FileName);
  TWinFile file;
  if (!file.Open(FileName, TFileOpen::Read)) throw Exception(kCannotCalculate);
  int64_t left = file.Size() - (AllButTrailer ? kDigestTrailerSize : 0);
  if (left < 0) throw Exception(kCannotCalculate);
  TSha0 sha;
  std::vector<uint8_t> buffer(1 << 20);
  while (left > 0) {
    const size_t n = file.Read(buffer.data(), static_cast<size_t>(std::min<int64_t>(left, int64_t(buffer.size()))));
    if (n == 0) throw Exception(kCannotCalculate);
    sha.Update(buffer.data(), n);
    left -= static_cast<int64_t>(n);
  }
  return DigestToHex(sha.Final());
}

void AppendFileCheckSum(const std::string& FileName, std::string Digest) {
  RequireFile(FileName);
  if (Digest.empty()) Digest = CalcFileCheckSum(FileName, false);
  if (!IsDigestText(Digest)) throw Exception(kCannotCalculate);
  TWinFile file;
  if (!file.Open(FileName, TFileOpen::ReadWrite)) throw Exception(kCannotCalculate);
  file.Seek(0, fw::soEnd);
  if (file.Write(Digest.data(), Digest.size()) != Digest.size()) throw Exception(kCannotCalculate);
}

}  // namespace setup
