#include "SelfExtractFile.h"

#include <windows.h>

#include <limits>
#include <vector>

#include "archive/ArchiveStream.h"
#include "archive/FileSystem.h"
#include "objects/InstallEngine.h"

namespace setup {
namespace {

constexpr int64_t kMaxSetupSize = std::numeric_limits<int32_t>::max();

// Copies all of Source to the end of Target; the positions of its first and last byte.
bool AppendPart(TWinFile& Target, const std::string& Source, int32_t& First, int32_t& Last) {
  TWinFile source;
  if (!source.Open(Source, TFileOpen::Read)) return false;
  const int64_t start = Target.Position(), size = source.Size();
  if (size <= 0 || start + size + kSelfExtractTailSize > kMaxSetupSize) return false;
  std::vector<uint8_t> buffer(1 << 20);
  int64_t copied = 0;
  while (copied < size) {
    const size_t n = source.Read(buffer.data(), buffer.size());
    if (n == 0 || Target.Write(buffer.data(), n) != n) return false;
    copied += static_cast<int64_t>(n);
  }
  if (copied != size) return false;
  First = static_cast<int32_t>(start);
  Last = static_cast<int32_t>(start + size - 1);
  return true;
}

void AppendRecord(const std::string& SetupExe, TWinFile& File, const TSelfExtractInfo& Info) {
  const TSelfExtractBytes bytes = EncodeSelfExtractInfo(Info);
  if (File.Write(bytes.data(), bytes.size()) != bytes.size())
    throw IEInstall("Cannot add the self-extract info header to %s", SetupExe);
}

}  // namespace

void AppendSelfExtractParts(const std::string& SetupExe, const std::string& Setup1, const std::string& Files1) {
  TWinFile file;
  if (!file.Open(SetupExe, TFileOpen::ReadWrite))
    throw IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s", Setup1, SetupExe);
  file.Seek(0, fw::soEnd);
  TSelfExtractInfo info;
  info.SelfExtracting = true;
  if (!AppendPart(file, Setup1, info.Setup1First, info.Setup1Last))
    throw IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s", Setup1, SetupExe);
  if (FileExists(Files1) && !AppendPart(file, Files1, info.Files1First, info.Files1Last))
    throw IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s", Files1, SetupExe);
  AppendRecord(SetupExe, file, info);
}

void WriteNotSelfExtractInfo(const std::string& SetupExe) {
  TWinFile file;
  if (!file.Open(SetupExe, TFileOpen::ReadWrite))
    throw IEInstall("Cannot add the self-extract info header to %s", SetupExe);
  file.Seek(0, fw::soEnd);
  AppendRecord(SetupExe, file, TSelfExtractInfo{});
}

TSelfExtractInfo ReadSelfExtractInfo(const std::string& FileName) {
  static constexpr char kCannotRead[] =
      "Could not read the extraction info from the archive file %s when trying to find the correct offset into the "
      "self extracting file";
  TWinFile file;
  if (!file.Open(FileName, TFileOpen::Read)) throw IEInstall(kCannotRead, FileName);
  const int64_t recordPosition = file.Size() - kSelfExtractTailSize;
  TSelfExtractBytes bytes{};
  if (recordPosition < 0 || file.Seek(recordPosition, fw::soBeginning) != recordPosition ||
      file.Read(bytes.data(), bytes.size()) != bytes.size())
    throw IEInstall(kCannotRead, FileName);
  TSelfExtractInfo info;
  std::string reason;
  if (!DecodeSelfExtractInfo(bytes.data(), recordPosition, info, reason))
    throw IEInstall("The extraction info of %s is not valid: %s", FileName, reason);
  return info;
}

void RequireSelfExtractArchive(const TSelfExtractInfo& Info, const std::string& FileName) {
  if (!Info.SelfExtracting || !Info.HasFiles1())
    throw IEInstall("The extraction info of %s is not valid: %s", FileName, "it holds no files.1 archive");
}

}  // namespace setup
