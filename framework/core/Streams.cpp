#include "Streams.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#define FW_FSEEK _fseeki64
#define FW_FTELL _ftelli64
#else
#include <unistd.h>
#define FW_FSEEK fseeko
#define FW_FTELL ftello
#endif

namespace fw {

void TStream::ReadBuffer(void* Buffer, size_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, size_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  std::vector<uint8_t> buffer(64 * 1024);
  int64_t left = Count;
  while (left > 0) {
    size_t n = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= static_cast<int64_t>(n);
  }
  return Count;
}

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t end = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return end;
}

// --- TMemoryStream ---------------------------------------------------------

size_t TMemoryStream::Read(void* Buffer, size_t Count) {
  if (FPosition >= FData.size()) return 0;
  size_t n = std::min(Count, FData.size() - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, n);
  FPosition += n;
  return n;
}

size_t TMemoryStream::Write(const void* Buffer, size_t Count) {
  if (Count == 0) return 0;
  // A position far beyond the data may leave no room for the bytes: nothing is written.
  if (FPosition > FData.max_size() || Count > FData.max_size() - FPosition) return 0;
  if (FPosition + Count > FData.size()) FData.resize(FPosition + Count);
  std::memcpy(FData.data() + FPosition, Buffer, Count);
  FPosition += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? static_cast<int64_t>(FPosition) : Size();
  int64_t target = 0;
  // Positions are size_t: on a 32-bit system one beyond 4 GB cannot be held.
  if (__builtin_add_overflow(base, Offset, &target) || static_cast<uint64_t>(std::max<int64_t>(target, 0)) > SIZE_MAX)
    throw EStreamError(Format("Stream position out of range (%lld%+lld)", base, Offset));
  if (target < 0) target = 0;
  FPosition = static_cast<size_t>(target);
  return target;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  FData.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
  if (FPosition > FData.size()) FPosition = FData.size();
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream file(FileName, fmOpenRead);
  Clear();
  SetSize(file.Size());
  file.ReadBuffer(FData.data(), FData.size());
}

void TMemoryStream::SaveToFile(const std::string& FileName) const {
  TFileStream file(FileName, fmCreate);
  file.WriteBuffer(FData.data(), FData.size());
  file.Flush();
}

// --- TFileStream -----------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, unsigned Mode) : FFileName(FileName) {
  if (Mode == fmCreate) {
    FFile = std::fopen(FileName.c_str(), "w+b");
    if (FFile == nullptr) throw EFCreateError(Format("Cannot create file %s", FileName));
    return;
  }
  const char* how = (Mode & 3) == fmOpenRead ? "rb" : "r+b";
  FFile = std::fopen(FileName.c_str(), how);
  if (FFile == nullptr) throw EFOpenError(Format("Cannot open file %s", FileName));
}

TFileStream::~TFileStream() {
  if (FFile != nullptr) std::fclose(FFile);
}

size_t TFileStream::Read(void* Buffer, size_t Count) {
  return std::fread(Buffer, 1, Count, FFile);
}

size_t TFileStream::Write(const void* Buffer, size_t Count) {
  return std::fwrite(Buffer, 1, Count, FFile);
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  if (FW_FSEEK(FFile, Offset, whence) != 0) return -1;
  return FW_FTELL(FFile);
}

void TFileStream::SetSize(int64_t NewSize) {
  std::fflush(FFile);
#ifdef _WIN32
  int rc = _chsize_s(_fileno(FFile), NewSize);
#else
  int rc = ftruncate(fileno(FFile), NewSize);
#endif
  if (rc != 0) throw EWriteError(Format("Cannot change the size of %s", FFileName));
  if (Position() > NewSize) Seek(NewSize, soBeginning);
}

void TFileStream::Flush() {
  if (std::fflush(FFile) != 0) throw EWriteError("Stream write error");
}

}  // namespace fw
