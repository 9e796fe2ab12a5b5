// The objects that ride on broadcasts and reports: made by the sender, read by the
// receivers (which write only where said) and freed by the sender after the call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/FileHeader.h"
#include "core/Classes.h"

namespace setup {

class TFileStatusParameter : public fw::TObject {
 public:
  int32_t Size = 0;     // bytes of the current file done so far
  int32_t Percent = 0;  // percent of the current file
  std::string FileName;
  TlzhFileStats Stats{};
  int32_t TotalDone = 0;
  int32_t TotalPercent = 0;
};

class TDownloadStatusParameter : public fw::TObject {
 public:
  TDownloadStatusParameter() = default;
  // Percent follows from TotalBytes and FileSize.
  TDownloadStatusParameter(int32_t Bytes, std::string FileName, int32_t FileSize, int32_t TotalBytes);

  int32_t Bytes = 0;  // bytes in this chunk
  std::string FileName;
  int32_t FileSize = 0;
  int32_t TotalBytes = 0;  // received so far
  int32_t Percent = 0;

  // round(TotalBytes / FileSize x 100); 0 when FileSize is not positive.
  static int32_t PercentOf(int32_t TotalBytes, int32_t FileSize);
};

class TDiskParameter : public fw::TObject {
 public:
  int32_t DiskNumber = 0;
  std::string Path;  // where the disk is expected; the receiver writes the answer here
};

class TMessageParameter : public fw::TObject {
 public:
  explicit TMessageParameter(std::string AText = std::string()) : Text(std::move(AText)) {}
  std::string Text;
};

// The parameter of the messages that carry several objects: a file and its status or
// disk parameter. The receiver checks the count and the class of each item.
class TInformationList : public fw::TObject {
 public:
  TInformationList() = default;
  TInformationList(std::initializer_list<fw::TObject*> AItems) : Items(AItems) {}
  std::vector<fw::TObject*> Items;
};

}  // namespace setup
