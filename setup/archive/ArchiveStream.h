// The archive's file stream: a framework stream over a Win32 file handle, opened
// with the sharing the archive needs and closed by its destructor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ArchiveFiles.h"
#include "core/Streams.h"
#include "gui/WinHandles.h"

namespace setup {

class TWinFile : public fw::TStream {
 public:
  TWinFile() = default;
  ~TWinFile() override = default;
  TWinFile(const TWinFile&) = delete;
  TWinFile& operator=(const TWinFile&) = delete;

  // False when the file cannot be opened; the stream is then closed.
  bool Open(const std::string& FileName, TFileOpen Mode);
  // Creates FileName only when no file of that name exists (read and write; others may
  // read); false otherwise, GetLastError telling why.
  bool CreateNew(const std::string& FileName);
  // Opens an existing file for reading and writing that nobody else has open; a link at
  // the end of FileName is opened as itself, not as what it leads to. False otherwise.
  bool OpenExclusive(const std::string& FileName);
  void Close();
  bool IsOpen() const { return FHandle.Valid(); }
  const std::string& FileName() const { return FFileName; }
  // The Win32 handle, for what the stream does not offer.
  void* Handle() const { return FHandle.Get(); }

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  int64_t Seek(int64_t Offset, fw::TSeekOrigin Origin) override;
  int64_t Size() override;
  void SetSize(int64_t NewSize) override;
  // Cuts the file at the current position.
  bool Truncate();
  // The last-write date stamp as packed MS-DOS local date and time; 0 on failure.
  uint32_t DosDateTime();
  bool SetDosDateTime(uint32_t Value);

 private:
  // Opens FileName with CreateFile's arguments; only a file on a disk is taken.
  bool OpenFileOnDisk(const std::string& FileName, uint32_t Access, uint32_t Share, uint32_t Disposition,
                    uint32_t Flags);

  fw::TFileHandle FHandle;
  std::string FFileName;
};

}  // namespace setup
