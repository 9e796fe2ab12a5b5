#include "ArchiveText.h"

#include <cmath>

namespace setup {

namespace {
size_t NameStart(std::string_view Path) {
  size_t p = Path.find_last_of("\\/:");
  return p == std::string_view::npos ? 0 : p + 1;
}
}  // namespace

std::string ExtractFilePath(std::string_view Path) {
  return std::string(Path.substr(0, NameStart(Path)));
}

std::string ExtractFileName(std::string_view Path) {
  return std::string(Path.substr(NameStart(Path)));
}

std::string ChangeFileExt(std::string_view Path, std::string_view Ext) {
  size_t start = NameStart(Path);
  size_t dot = Path.rfind('.');
  std::string result(dot != std::string_view::npos && dot >= start ? Path.substr(0, dot) : Path);
  return result.append(Ext);
}

std::string IncludeTrailingBackslash(std::string_view Path) {
  std::string result(Path);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

std::string VolumeExtension(int Volume) {
  std::string result(1, '.');
  result += std::to_string(Volume);
  return result;
}

namespace {
// Days from 30 December 1899 to the given date of the proleptic Gregorian calendar.
int64_t DaysSinceEpoch(int year, int month, int day) {
  static const int before[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int64_t y = year - 1;
  int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + before[month - 1] + day;
  if (leap && month > 2) ++days;
  return days - 693594;  // the day count of 30 December 1899
}

// The date-times a date stamp can hold: 1 January 1980 up to the end of 2107.
constexpr double kFirstDosDay = 29221;   // 1 January 1980
constexpr double kEndOfDosDays = 75972;  // 1 January 2108
}  // namespace

double DosDateTimeToDateTime(uint32_t DosDateTime) {
  unsigned date = DosDateTime >> 16, time = DosDateTime & 0xFFFF;
  int year = 1980 + static_cast<int>(date >> 9), month = (date >> 5) & 15, day = date & 31;
  if (month < 1 || month > 12 || day < 1) return 0;
  int hour = time >> 11, minute = (time >> 5) & 63, second = (time & 31) * 2;
  double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
  return static_cast<double>(DaysSinceEpoch(year, month, day)) + fraction;
}

uint32_t DateTimeToDosDateTime(double DateTime) {
  // Outside the stamp's range (NaN and infinities included) there is no date; the
  // check comes first, so no value reaches a conversion that cannot hold it.
  if (!(DateTime >= kFirstDosDay && DateTime < kEndOfDosDays)) return 0;
  int64_t days = static_cast<int64_t>(std::floor(DateTime));
  int64_t seconds = std::llround((DateTime - static_cast<double>(days)) * 86400.0);
  if (seconds >= 86400) {
    ++days;
    seconds -= 86400;
  }
  // Civil date from the day count, counted from 1 March of the year 0.
  int64_t z = days + 693899;
  int64_t era = z / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t year = yoe + era * 400;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1;
  int64_t month = mp < 10 ? mp + 3 : mp - 9;
  if (month <= 2) ++year;
  if (year < 1980 || year > 2107) return 0;
  uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
  uint32_t time = static_cast<uint32_t>(((seconds / 3600) << 11) | (((seconds / 60) % 60) << 5) | ((seconds % 60) / 2));
  return (date << 16) | time;
}

uint8_t Percent(int64_t Done, int64_t Total) {
  if (Total == 0) return 0;
  return static_cast<uint8_t>(std::llround(static_cast<double>(Done) / static_cast<double>(Total) * 100.0));
}

}  // namespace setup
