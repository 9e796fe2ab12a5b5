#include "SetupParts.h"

#include <windows.h>

#include <vector>

#include "archive/ArchiveStream.h"
#include "archive/ArchiveText.h"
#include "support/Sha0.h"

namespace loader {
namespace {

bool ReadAt(setup::TWinFile& File, int64_t Position, void* Buffer, size_t Count) {
  return Position >= 0 && File.Seek(Position, fw::soBeginning) == Position && File.Read(Buffer, Count) == Count;
}

}  // namespace

TSetupParts LocateParts(const std::string& Self) {
  using setup::TSelfExtractInfo;
  setup::TWinFile file;
  if (!file.Open(Self, setup::TFileOpen::Read)) throw ELoader(fw::Format("Cannot open the setup file %s", Self));
  const int64_t size = file.Size();
  setup::TSelfExtractBytes bytes{};
  TSelfExtractInfo info;
  std::string reason;
  if (ReadAt(file, size - setup::kSelfExtractRecordSize, bytes.data(), bytes.size()) &&
      setup::DecodeSelfExtractInfo(bytes.data(), size - setup::kSelfExtractRecordSize, info, reason) &&
      !info.SelfExtracting) {
    return TSetupParts{false, setup::ExtractFilePath(Self) + "setup.1", 0, info};
  }
  const int64_t recordPosition = size - setup::kSelfExtractTailSize;
  if (!ReadAt(file, recordPosition, bytes.data(), bytes.size()))
    throw ELoader(fw::Format("The setup file %s is too short to hold an installation", Self));
  if (!setup::DecodeSelfExtractInfo(bytes.data(), recordPosition, info, reason) || !info.SelfExtracting)
    throw ELoader(fw::Format("The setup file %s is damaged: %s", Self, reason.empty() ? "no installation" : reason));

  std::string trailer(setup::kDigestTrailerSize, '\0');
  if (!ReadAt(file, size - setup::kDigestTrailerSize, trailer.data(), trailer.size()))
    throw ELoader(fw::Format("The setup file %s is damaged: its check sum cannot be read", Self));
  setup::TSha0 sha;
  std::vector<uint8_t> buffer(1 << 20);
  file.Seek(0, fw::soBeginning);
  for (int64_t left = size - setup::kDigestTrailerSize; left > 0;) {
    const size_t n = file.Read(buffer.data(), static_cast<size_t>(std::min<int64_t>(left, int64_t(buffer.size()))));
    if (n == 0) throw ELoader(fw::Format("Cannot read the setup file %s", Self));
    sha.Update(buffer.data(), n);
    left -= static_cast<int64_t>(n);
  }
  if (setup::DigestToHex(sha.Final()) != trailer)
    throw ELoader(fw::Format("The setup file %s is damaged: its check sum does not match its contents", Self));
  return TSetupParts{true, Self, info.Setup1First, info};
}

std::vector<std::string> ArchiveFileNames(setup::TQnlkCompress& Archive) {
  std::vector<std::string> names;
  const int count = Archive.GetFileCount();
  for (int i = 0; i < count; ++i) {
    setup::TlzhFileStats stats;
    Archive.GetFileStats(i, stats);
    names.push_back(stats.FileName);
  }
  return names;
}

}  // namespace loader
