// Headers made from source files: name, date, size and version read from the file.
#include "ArchiveStream.h"
#include "ArchiveText.h"
#include "FileHeader.h"
#include "VersionResource.h"
#include "support/Errors.h"
#include "support/PathStrings.h"

namespace setup {

void TFileHeader::AssignSourceFile(const std::string& Path) {
  std::string name = GetDelimitedItem(Path, 1, ';');
  if (name.size() > kMaxStoredName)
    throw EQnlkCompress(fw::Format(
        "The path %s is too long to be stored in the archive: a stored name holds at most 100 characters", name));
  SetName(name);
  int64_t size;
  uint32_t stamp;
  {
    TWinFile source;
    if (!source.Open(name, TFileOpen::Read)) throw EQnlkCompress(fw::Format("Cannot open the file %s", name));
    size = source.Size();
    stamp = source.DosDateTime();
  }
  if (size < 0 || size > INT32_MAX)
    throw EQnlkCompress(fw::Format("The file %s is too large to be stored in the archive", name));
  SetDate(DosDateTimeToDateTime(stamp));
  SetUncompressedSize(static_cast<int32_t>(size));
  SetFileVersion(FileVersionOf(name).substr(0, kMaxStoredVersion));
}

void TFileHeaders::AddFiles(const std::vector<std::string>& List, bool Append) {
  if (!Append) Clear();
  for (size_t i = 0; i < List.size(); ++i) {
    auto header = std::make_unique<TFileHeader>();
    header->AssignSourceFile(List[i]);
    header->SetFileNumber(static_cast<int32_t>(i + 1));
    Add(std::move(header));
  }
}

}  // namespace setup
