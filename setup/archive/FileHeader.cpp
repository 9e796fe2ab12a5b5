#include "FileHeader.h"

#include <cstring>

#include "ArchiveText.h"
#include "support/Errors.h"
#include "support/PathStrings.h"

namespace setup {

namespace {
const char* const kCorrupt =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";
}

// --- TFileHeader -------------------------------------------------------------

int32_t TFileHeader::GetInt(int At) const {
  uint32_t v = uint32_t(FRecord[At]) | uint32_t(FRecord[At + 1]) << 8 | uint32_t(FRecord[At + 2]) << 16 |
               uint32_t(FRecord[At + 3]) << 24;
  return static_cast<int32_t>(v);
}

void TFileHeader::PutInt(int At, int32_t V) {
  uint32_t u = static_cast<uint32_t>(V);
  for (int i = 0; i < 4; ++i) FRecord[At + i] = static_cast<uint8_t>(u >> (8 * i));
}

double TFileHeader::Date() const {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | FRecord[fhDate + i];
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

void TFileHeader::SetDate(double V) {
  uint64_t bits;
  std::memcpy(&bits, &V, sizeof bits);
  for (int i = 0; i < 8; ++i) FRecord[fhDate + i] = static_cast<uint8_t>(bits >> (8 * i));
}

std::string TFileHeader::GetShortString(int At, int Max) const {
  int length = std::min<int>(FRecord[At], Max);
  return std::string(reinterpret_cast<const char*>(&FRecord[At + 1]), length);
}

void TFileHeader::PutShortString(int At, int Max, const std::string& V) {
  size_t length = std::min<size_t>(V.size(), Max);
  std::memset(&FRecord[At], 0, Max + 1);
  FRecord[At] = static_cast<uint8_t>(length);
  std::memcpy(&FRecord[At + 1], V.data(), length);
}

bool TFileHeader::IsValid() const {
  return !fw::Trim(Name()).empty();
}

void TFileHeader::GetFileStats(TlzhFileStats& Stats) const {
  Stats.FileName = Name();
  Stats.FileSize = UncompressedSize();
  Stats.CompressedSize = CompressedSize();
  Stats.FileDone = 0;
  Stats.FilePercent = 0;
  Stats.Finished = false;
  Stats.Ratio = UncompressedSize() > 0 ? Percent(CompressedSize(), UncompressedSize()) : 0;
  Stats.Header = FRecord;
}

void TFileHeader::ReadFromStream(fw::TStream& Stream) {
  if (Stream.Read(FRecord.data(), kHeaderSize) != kHeaderSize) throw EQnlkCompress(kCorrupt);
  FReadFromArchive = true;
}

void TFileHeader::WriteToStream(fw::TStream& Stream) const {
  if (Stream.Write(FRecord.data(), kHeaderSize) != kHeaderSize)
    throw EQnlkCompress("Could not write the file headers for the compressed file");
}

// --- TFileHeaders ------------------------------------------------------------

TFileHeader& TFileHeaders::GetFileHeaders(int Index) const {
  if (Index < 0 || Index >= GetCount())
    throw EQnlkCompress(fw::Format("%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders", Index));
  return *FHeaders[Index];
}

void TFileHeaders::Add(std::unique_ptr<TFileHeader> Header) {
  if (!Header || !Header->IsValid()) throw EQnlkCompress("Tried to add an invalid file header");
  FHeaders.push_back(std::move(Header));
  FNameIndex.clear();
}

int TFileHeaders::IndexOfName(const std::string& Name) const {
  const std::string wanted = GetDelimitedItem(Name, 1, ';');
  if (FNameIndex.empty())
    for (int i = GetCount(); i-- > 0;) FNameIndex[fw::UpperCase(FHeaders[i]->Name())] = i;
  const auto found = FNameIndex.find(fw::UpperCase(wanted));
  return found != FNameIndex.end() ? found->second : -1;
}

void TFileHeaders::GetTotals(TlzhFileStats& Stats) const {
  int64_t compressed = 0, size = 0;
  for (const auto& h : FHeaders) {
    compressed += h->CompressedSize();
    size += h->UncompressedSize();
  }
  Stats.TotalCompressed = compressed;
  Stats.TotalSize = size;
}

void TFileHeaders::InitFileStats(TlzhFileStats& Stats) const {
  Stats.TotalDone = 0;
  Stats.TotalPercent = 0;
  Stats.Finished = false;
  GetTotals(Stats);
  Stats.TotalRatio = Percent(Stats.TotalCompressed, Stats.TotalSize);
}

void TFileHeaders::LoadFromStream(fw::TStream& Stream, int64_t Offset) {
  Clear();
  uint8_t lead[kHeaderTableStart];
  if (Stream.Seek(Offset, fw::soBeginning) != Offset || Stream.Read(lead, sizeof lead) != sizeof lead)
    throw EQnlkCompress("Could not read the file header count for the compressed file");
  int32_t count = static_cast<int32_t>(uint32_t(lead[0]) | uint32_t(lead[1]) << 8 | uint32_t(lead[2]) << 16 |
                                       uint32_t(lead[3]) << 24);
  MultiVolume = lead[4];
  // Every header takes 176 bytes of the file and the chain only moves forward, so a
  // damaged count or link cannot make the loop run away.
  int64_t room = Stream.Size() - Offset - kHeaderTableStart;
  if (count < 0 || count > room / kHeaderSize) throw EQnlkCompress(kCorrupt);
  int64_t position = kHeaderTableStart;
  for (int32_t i = 0; i < count; ++i) {
    if (Stream.Seek(Offset + position, fw::soBeginning) != Offset + position) throw EQnlkCompress(kCorrupt);
    auto header = std::make_unique<TFileHeader>();
    header->ReadFromStream(Stream);
    int64_t next = header->NextHeader();
    Add(std::move(header));
    if (next < position + kHeaderSize || next > Stream.Size() - Offset) throw EQnlkCompress(kCorrupt);
    position = next;
  }
}

int64_t TFileHeaders::AppendPosition() const {
  if (FHeaders.empty()) return kHeaderTableStart;
  const int64_t end = FHeaders.back()->NextHeader();
  for (const auto& h : FHeaders) {
    int64_t start = h->DataStart(), size = h->CompressedSize();
    if (start < kHeaderTableStart || size < 0 || start + size > end) throw EQnlkCompress(kCorrupt);
  }
  return end;
}

void TFileHeaders::SaveToStream(fw::TStream& Stream) {
  uint8_t lead[kHeaderTableStart];
  uint32_t count = static_cast<uint32_t>(GetCount());
  for (int i = 0; i < 4; ++i) lead[i] = static_cast<uint8_t>(count >> (8 * i));
  lead[4] = MultiVolume;
  if (Stream.Seek(0, fw::soBeginning) != 0 || Stream.Write(lead, sizeof lead) != sizeof lead)
    throw EQnlkCompress("Could not write the file headers for the compressed file");
  if (MultiVolume != 1) return;
  for (auto& h : FHeaders) {
    h->SetNextHeader(static_cast<int32_t>(Stream.Position() + kHeaderSize));
    h->WriteToStream(Stream);
  }
}

}  // namespace setup
