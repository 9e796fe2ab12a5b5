// The texts that carry an installation over a reboot: the RunOnce command that starts the
// setup again, the lines of the unfinished list, and the batch file that removes the
// loader's folder after the setup has ended. No Windows calls: the texts only.
#pragma once

#include <cstdint>
#include <string>

namespace setup {

// One command-line argument in double quotes, read back by the usual argument splitting
// as given: backslashes before the closing quote are doubled.
std::string QuoteArgument(const std::string& Argument);

// The RunOnce command: the program quoted, "-r", with a self-extracting setup "-e" and its
// file name quoted, "-s" and the setup folder quoted, then " -c" when the clean-up was
// asked for.
std::string RunOnceCommand(const std::string& Program, bool SelfExtract, const std::string& SetupFileName,
                           const std::string& SetupFolder, bool Cleanup);

// A line of the unfinished list: the item, ";", its kind. The item is everything before
// the last ";" (a path may hold one). False when there is no ";", the item is empty or the
// kind is not a whole number.
bool ParseUnfinishedLine(const std::string& Line, std::string& Item, int& Kind);

// The clean-up batch file: leaves the program's folder for its own (the batch inherits the
// setup's working folder, which the loader sets to the program's folder, and a folder
// that is some program's working folder cannot be removed), waits (a bounded time) until
// the setup program has ended and its file can be deleted, then removes the program's folder with all it holds, the
// batch's ".PIF" companion and the batch file itself. Every path is quoted; "%" in paths
// is kept from expansion.
std::string CleanupBatchText(const std::string& ProgramFile, const std::string& ProgramFolder,
                             const std::string& BatchFile);

// A file time (100-nanosecond ticks since 1601, UTC) as days since 30 December 1899,
// the time as the fraction.
double FileTimeToDays(uint64_t Ticks);
// Two record dates are the same moment (closer than 1e-7 days).
bool SameRecordDate(double A, double B);

}  // namespace setup
