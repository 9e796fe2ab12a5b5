#include "StatusParameters.h"

#include <cmath>

namespace setup {

TDownloadStatusParameter::TDownloadStatusParameter(int32_t ABytes, std::string AFileName, int32_t AFileSize,
                                                   int32_t ATotalBytes)
    : Bytes(ABytes),
      FileName(std::move(AFileName)),
      FileSize(AFileSize),
      TotalBytes(ATotalBytes),
      Percent(PercentOf(ATotalBytes, AFileSize)) {}

int32_t TDownloadStatusParameter::PercentOf(int32_t TotalBytes, int32_t FileSize) {
  if (FileSize <= 0) return 0;
  return static_cast<int32_t>(std::lround(static_cast<double>(TotalBytes) / FileSize * 100.0));
}

}  // namespace setup
