// The byte streams the archive reads and writes: an abstract stream and a file
// stream over a Win32 file handle (closed by its destructor).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace setup {

enum class TSeekFrom { Beginning, Current, End };

class TArchiveStream {
 public:
  virtual ~TArchiveStream() = default;
  // Move up to Count bytes; the result is how many were moved.
  virtual size_t Read(void* Buffer, size_t Count) = 0;
  virtual size_t Write(const void* Buffer, size_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekFrom Origin) = 0;
  int64_t Position() { return Seek(0, TSeekFrom::Current); }
  virtual int64_t Size();
};

enum class TFileOpen {
  Read,       // existing file, read only; others may read and write
  ReadWrite,  // existing file, read and write; others may read and write
  Create,     // new empty file (an old one is truncated), read and write; others may read
};

class TWinFile : public TArchiveStream {
 public:
  TWinFile() = default;
  ~TWinFile() override { Close(); }
  TWinFile(const TWinFile&) = delete;
  TWinFile& operator=(const TWinFile&) = delete;

  // False when the file cannot be opened; the stream is then closed.
  bool Open(const std::string& FileName, TFileOpen Mode);
  void Close();
  bool IsOpen() const { return FHandle != nullptr; }
  const std::string& FileName() const { return FFileName; }

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  int64_t Seek(int64_t Offset, TSeekFrom Origin) override;
  int64_t Size() override;
  // Cuts the file at the current position.
  bool Truncate();
  // The last-write date stamp as packed MS-DOS local date and time; 0 on failure.
  uint32_t DosDateTime();
  bool SetDosDateTime(uint32_t Value);

 private:
  void* FHandle = nullptr;
  std::string FFileName;
};

}  // namespace setup
