// Byte streams: TStream, TMemoryStream, and TFileStream over the C library's files
// (ANSI file names, as the "A" functions take them).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Classes.h"

namespace fw {

FW_EXCEPTION(EStreamError, Exception);
FW_EXCEPTION(EFOpenError, EStreamError);
FW_EXCEPTION(EFCreateError, EStreamError);
FW_EXCEPTION(EWriteError, EStreamError);

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  ~TStream() override = default;
  // Reads or writes up to Count bytes; returns how many were moved.
  virtual size_t Read(void* Buffer, size_t Count) = 0;
  virtual size_t Write(const void* Buffer, size_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  // All or nothing: raise EReadError "Stream read error" / EWriteError "Stream write error".
  void ReadBuffer(void* Buffer, size_t Count);
  void WriteBuffer(const void* Buffer, size_t Count);
  // Copies Count bytes from Source (its whole content from the start when Count is 0).
  int64_t CopyFrom(TStream& Source, int64_t Count);

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize) = 0;
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  void Clear();
  const std::vector<uint8_t>& Data() const { return FData; }
  uint8_t* Memory() { return FData.data(); }
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

 private:
  std::vector<uint8_t> FData;
  size_t FPosition = 0;
};

enum TFileMode : unsigned {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmCreate = 0xFF00,
};

class TFileStream : public TStream {
 public:
  // fmCreate makes a new empty file; the others open an existing one.
  TFileStream(const std::string& FileName, unsigned Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const std::string& FileName() const { return FFileName; }
  // Pushes written data to the operating system; raises EWriteError on failure.
  void Flush();

 private:
  std::FILE* FFile = nullptr;
  std::string FFileName;
};

}  // namespace fw
