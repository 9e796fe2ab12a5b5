#include "RestartCommands.h"

#include <cmath>
#include <cstdlib>

namespace setup {

std::string QuoteArgument(const std::string& Argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : Argument) {
    if (c == '\\') {
      ++backslashes;
    } else if (c == '"') {
      quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    } else {
      backslashes = 0;
    }
    quoted += c;
  }
  quoted.append(backslashes, '\\');
  quoted += '"';
  return quoted;
}

std::string RunOnceCommand(const std::string& Program, bool SelfExtract, const std::string& SetupFileName,
                           const std::string& SetupFolder, bool Cleanup) {
  std::string command = QuoteArgument(Program) + " -r";
  if (SelfExtract) command += " " + QuoteArgument("-e" + SetupFileName);
  command += " " + QuoteArgument("-s" + SetupFolder);
  if (Cleanup) command += " -c";
  return command;
}

bool ParseUnfinishedLine(const std::string& Line, std::string& Item, int& Kind) {
  size_t separator = Line.rfind(';');
  if (separator == std::string::npos || separator == 0) return false;
  std::string kind = Line.substr(separator + 1);
  size_t start = 0;
  while (start < kind.size() && kind[start] == ' ') ++start;
  size_t end = kind.size();
  while (end > start && kind[end - 1] == ' ') --end;
  kind = kind.substr(start, end - start);
  if (kind.empty() || kind.size() > 11) return false;
  size_t digits = kind[0] == '-' || kind[0] == '+' ? 1 : 0;
  if (digits == kind.size()) return false;
  for (size_t i = digits; i < kind.size(); ++i)
    if (kind[i] < '0' || kind[i] > '9') return false;
  long long value = std::strtoll(kind.c_str(), nullptr, 10);
  if (value < INT32_MIN || value > INT32_MAX) return false;
  Item = Line.substr(0, separator);
  Kind = static_cast<int>(value);
  return true;
}

namespace {

// A path for a batch line: quoted, with "%" doubled so that it is not expanded.
std::string BatchPath(const std::string& Path) {
  std::string text = "\"";
  for (char c : Path) {
    if (c == '%') text += '%';
    text += c;
  }
  return text + "\"";
}

}  // namespace

std::string CleanupBatchText(const std::string& ProgramFile, const std::string& ProgramFolder,
                             const std::string& BatchFile) {
  std::string program = BatchPath(ProgramFile);
  std::string pif = BatchFile;
  size_t dot = pif.rfind('.');
  size_t slash = pif.find_last_of("\\/");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) pif.erase(dot);
  pif += ".PIF";
  std::string batchFolder = slash == std::string::npos ? std::string() : BatchFile.substr(0, slash);
  if (batchFolder.size() == 2 && batchFolder[1] == ':') batchFolder += '\\';
  std::string text;
  text += "@ECHO OFF\r\n";
  if (!batchFolder.empty()) text += "CD /D " + BatchPath(batchFolder) + "\r\n";
  text += "SET TRIES=0\r\n";
  text += ":WAIT\r\n";
  text += "DEL /F /Q " + program + " >NUL 2>&1\r\n";
  text += "IF NOT EXIST " + program + " GOTO GONE\r\n";
  text += "SET /A TRIES+=1\r\n";
  text += "IF %TRIES% GEQ 120 GOTO GONE\r\n";
  text += "PING -n 2 127.0.0.1 >NUL 2>&1\r\n";
  text += "GOTO WAIT\r\n";
  text += ":GONE\r\n";
  text += "RMDIR /S /Q " + BatchPath(ProgramFolder) + " >NUL 2>&1\r\n";
  text += "DEL /F /Q " + BatchPath(pif) + " >NUL 2>&1\r\n";
  text += "DEL /F /Q " + BatchPath(BatchFile) + " >NUL 2>&1\r\n";
  return text;
}

double FileTimeToDays(uint64_t Ticks) {
  constexpr double kTicksPerDay = 864000000000.0;
  constexpr double kDaysFrom1601To1899 = 109205.0;
  return static_cast<double>(Ticks) / kTicksPerDay - kDaysFrom1601To1899;
}

bool SameRecordDate(double A, double B) {
  return std::fabs(A - B) < 1e-7;
}

}  // namespace setup
