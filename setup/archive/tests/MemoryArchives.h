// Archives held in memory, for the tests and fuzzers of the reading side: a file
// system of named byte strings, and archives made there in both layouts.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ArchiveFiles.h"
#include "FileHeader.h"
#include "ZlibStream.h"

namespace archive_memory {

using Bytes = std::vector<uint8_t>;

// Files by name; opened for reading only, each time as a fresh copy.
class TMemoryFiles : public setup::TArchiveFiles {
 public:
  std::map<std::string, Bytes> Files;

  bool Exists(const std::string& Path) override { return Files.count(Path) > 0; }
  std::unique_ptr<fw::TStream> Open(const std::string& Path, setup::TFileOpen Mode) override {
    auto it = Files.find(Path);
    if (it == Files.end() || Mode != setup::TFileOpen::Read) return nullptr;
    auto stream = std::make_unique<fw::TMemoryStream>();
    if (!it->second.empty()) stream->Write(it->second.data(), it->second.size());
    stream->Seek(0, fw::soBeginning);
    return stream;
  }
};

struct TStoredFile {
  std::string Name;
  Bytes Data;
  int32_t UniqueID = 0;
};

inline Bytes StreamBytes(fw::TMemoryStream& Stream) {
  return Stream.Data();
}

// A single-file archive as the writer lays it out: each header followed by its data.
inline Bytes MakeArchive(const std::vector<TStoredFile>& Files, setup::TCompressionLevel Level = setup::colMax) {
  fw::TMemoryStream out;
  setup::TFileHeaders empty;
  empty.SaveToStream(out);
  for (size_t i = 0; i < Files.size(); ++i) {
    setup::TFileHeader header;
    header.SetFileNumber(static_cast<int32_t>(i + 1));
    header.SetName(Files[i].Name);
    header.SetDate(38113.5);
    header.SetUncompressedSize(static_cast<int32_t>(Files[i].Data.size()));
    header.SetUniqueID(Files[i].UniqueID);
    int64_t headerAt = out.Position();
    header.WriteToStream(out);
    int64_t dataStart = out.Position();
    {
      setup::TCompressionStream zip(Level, out);
      if (!Files[i].Data.empty()) zip.Write(Files[i].Data.data(), Files[i].Data.size());
      zip.Finish();
    }
    int64_t end = out.Position();
    header.SetDataStart(static_cast<int32_t>(dataStart));
    header.SetEndPosition(static_cast<int32_t>(end - 1));
    header.SetNextHeader(static_cast<int32_t>(end));
    header.SetCompressedSize(static_cast<int32_t>(end - dataStart));
    out.Seek(headerAt, fw::soBeginning);
    header.WriteToStream(out);
    out.Seek(end, fw::soBeginning);
  }
  Bytes bytes = out.Data();
  uint32_t count = static_cast<uint32_t>(Files.size());
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(count >> (8 * i));
  return bytes;
}

// The volume set that the splitter makes of a single-file archive: the header table
// and the data spread over volumes of Capacity bytes (the first must hold the table).
inline std::vector<Bytes> SplitArchive(const Bytes& Single, size_t Capacity) {
  fw::TMemoryStream in;
  in.Write(Single.data(), Single.size());
  setup::TFileHeaders headers;
  headers.LoadFromStream(in, 0);
  headers.MultiVolume = 1;
  std::vector<Bytes> volumes(1);
  volumes[0].resize(setup::kHeaderTableStart + setup::kHeaderSize * headers.GetCount());
  auto put = [&](uint8_t b) {
    if (volumes.back().size() >= Capacity) volumes.emplace_back();
    volumes.back().push_back(b);
  };
  for (int i = 0; i < headers.GetCount(); ++i) {
    setup::TFileHeader& h = headers[i];
    const int32_t from = h.DataStart(), size = h.CompressedSize();
    bool first = true;
    for (int32_t k = 0; k < size; ++k) {
      put(Single[from + k]);
      if (first) {
        h.SetFirstVolume(static_cast<uint8_t>(volumes.size()));
        h.SetDataStart(static_cast<int32_t>(volumes.back().size() - 1));
        first = false;
      }
    }
    h.SetLastVolume(static_cast<uint8_t>(volumes.size()));
    h.SetEndPosition(static_cast<int32_t>(volumes.back().size() - 1));
  }
  fw::TMemoryStream table;
  headers.SaveToStream(table);
  std::copy(table.Data().begin(), table.Data().end(), volumes[0].begin());
  return volumes;
}

}  // namespace archive_memory
