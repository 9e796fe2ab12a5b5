#include "FileListFormat.h"

#include <bit>
#include <cstring>

namespace setup {

namespace {

constexpr size_t kSizeOffset = 0;
constexpr size_t kDateOffset = 8;
constexpr size_t kNameOffset = 16;
constexpr size_t kNameField = 40;
constexpr size_t kVersionOffset = 56;

void PutLittleEndian(std::string& Out, size_t Offset, uint64_t Value, size_t Bytes) {
  for (size_t i = 0; i < Bytes; ++i) Out[Offset + i] = static_cast<char>((Value >> (8 * i)) & 0xFF);
}

uint64_t GetLittleEndian(const char* In, size_t Bytes) {
  uint64_t value = 0;
  for (size_t i = 0; i < Bytes; ++i) value |= static_cast<uint64_t>(static_cast<unsigned char>(In[i])) << (8 * i);
  return value;
}

std::string ZeroTerminated(const char* Field, size_t MaxLength) {
  return std::string(Field, strnlen(Field, MaxLength));
}

// Fills Buffer completely; false when the data end first.
bool ReadExactly(const TFileListRead& Read, char* Buffer, size_t Count) {
  size_t done = 0;
  while (done < Count) {
    size_t got = Read(Buffer + done, Count - done);
    if (got == 0) return false;
    done += got;
  }
  return true;
}

}  // namespace

std::string EncodeFileListRecord(const TFileListEntry& Entry) {
  std::string record(kFileListRecordSize, '\0');
  PutLittleEndian(record, kSizeOffset, static_cast<uint32_t>(Entry.Size), 4);
  PutLittleEndian(record, kDateOffset, std::bit_cast<uint64_t>(Entry.Date), 8);
  std::string name = Entry.Name.substr(0, kFileListMaxName);
  std::memcpy(record.data() + kNameOffset, name.data(), strnlen(name.c_str(), name.size()));
  std::string version = Entry.Version.substr(0, kFileListMaxVersion);
  std::memcpy(record.data() + kVersionOffset, version.data(), strnlen(version.c_str(), version.size()));
  return record;
}

std::string EncodeFileListCount(int32_t Count) {
  std::string bytes(kFileListCountSize, '\0');
  PutLittleEndian(bytes, 0, static_cast<uint32_t>(Count), 4);
  return bytes;
}

TFileListEntry DecodeFileListRecord(const char* Record) {
  TFileListEntry entry;
  entry.Size = static_cast<int32_t>(static_cast<uint32_t>(GetLittleEndian(Record + kSizeOffset, 4)));
  entry.Date = std::bit_cast<double>(GetLittleEndian(Record + kDateOffset, 8));
  entry.Name = ZeroTerminated(Record + kNameOffset, kNameField);
  entry.Version = ZeroTerminated(Record + kVersionOffset, kFileListMaxVersion);
  return entry;
}

void ReadFileList(const TFileListRead& Read, const std::function<void(const TFileListEntry&)>& Apply) {
  char count[kFileListCountSize];
  if (!ReadExactly(Read, count, sizeof count)) throw EFileListTruncated("The list of files ends before its count");
  int32_t records = static_cast<int32_t>(static_cast<uint32_t>(GetLittleEndian(count, kFileListCountSize)));
  char record[kFileListRecordSize];
  for (int32_t i = 0; i < records; ++i) {
    if (!ReadExactly(Read, record, sizeof record))
      throw EFileListTruncated(fw::Format("The list of files ends in record %d of %d", i + 1, records));
    Apply(DecodeFileListRecord(record));
  }
}

}  // namespace setup
