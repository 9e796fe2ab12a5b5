// Reads arbitrary bytes as a remote file list: whole records come out with names of at
// most 40 and versions of at most 20 characters, a cut list is refused with the list's
// own error, and the count never makes the reader take more than it is given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/FileListFormat.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  size_t position = 0;
  size_t entries = 0;
  const auto read = [&](char* Buffer, size_t Count) {
    // Uneven pieces, as a file read may give them.
    size_t n = std::min({Count, Size - position, size_t{1} + position % 97});
    std::memcpy(Buffer, Data + position, n);
    position += n;
    return n;
  };
  try {
    setup::ReadFileList(read, [&](const setup::TFileListEntry& Entry) {
      ++entries;
      Check(Entry.Name.size() <= 40 && Entry.Version.size() <= 20);
      Check(Entry.Name.find('\0') == std::string::npos && Entry.Version.find('\0') == std::string::npos);
      // What is read is written back the same way, within the writer's limits.
      if (Entry.Name.size() < 40) {
        setup::TFileListEntry again = setup::DecodeFileListRecord(setup::EncodeFileListRecord(Entry).data());
        Check(again.Name == Entry.Name && again.Version == Entry.Version && again.Size == Entry.Size);
      }
    });
    Check(position >= 4 + entries * 80);
  } catch (const setup::EFileListTruncated&) {
    Check(position == Size);
  }
  return 0;
}
