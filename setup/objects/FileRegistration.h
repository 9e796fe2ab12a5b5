// What an installed file registers with Windows: help files, the shared-DLL count,
// type libraries and self-registering libraries and programs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/SysUtils.h"

namespace setup {

// A COM call failed; the message is Windows' text for the result.
class EOleSysError : public fw::Exception {
 public:
  explicit EOleSysError(long Result);
  long ErrorCode() const { return FErrorCode; }

 private:
  long FErrorCode;
};
// Raises EOleSysError for a failed result.
void OleCheck(long Result);

// The key of the help files' folders and of the shared-DLL counts (HKEY_LOCAL_MACHINE).
inline constexpr char kHelpKey[] = "\\SOFTWARE\\Microsoft\\Windows\\Help";
inline constexpr char kSharedDLLsKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The value named by the help file's name in upper case gets its folder.
void RegisterHelpFile(const std::string& FileName, const std::string& Folder);
// What a count was before it was raised: the value's name and its count, none when missing.
struct TSharedCountBefore {
  std::string Name;
  std::optional<uint32_t> Count;
};
// Raises the count of Path under SharedDLLs (the value of its short name when there is
// one, else of its long name, 0 when missing) by one. False with Error set when the key
// cannot be opened or the value not written. Before, when given, learns the value's name
// and earlier count before it is written.
bool IncrementSharedDLLValue(const std::string& Path, unsigned long& Error, TSharedCountBefore* Before = nullptr);
// Whether Path has a count under SharedDLLs (by its short or its long name).
bool HasSharedDLLCount(const std::string& Path);
// The version resource of the file asks to be registered ("OLESelfRegister").
bool HasOLESelfRegisterFlag(const std::string& Path);

class TInstallRunJournal;

// The registrations. Each first tells Journal, when given, which registry keys it is about
// to write, as they are (an undo puts them back without running the file's code):
// - a type library and a self-registering library are registered once as a trial in
//   which HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER lead to a scratch
//   key, which shows the keys they write;
// - a program registers itself in a process of its own: the keys of what its type
//   library names (the library, its classes and interfaces) are noted before, and the
//   keys it made at the top of HKEY_CLASSES_ROOT and below its CLSID key after. A
//   library whose trial fails is treated so too.
// Registers the type library in Path; COM failures raise through OleCheck.
void RegisterTypeLibraryFile(const std::string& Path, TInstallRunJournal* Journal = nullptr);
// DllRegisterServer of the library; ObjectName names the installed-file object in the
// messages.
void RegisterSelfRegisteringLibrary(const std::string& Path, const std::string& ObjectName,
                                    TInstallRunJournal* Journal = nullptr);
// Runs the program with "/REGSERVER", hidden, and waits as the launcher does.
void RegisterSelfRegisteringServer(const std::string& Path, TInstallRunJournal* Journal = nullptr);

// Runs the registration in Folder as the working folder and goes back afterwards;
// failures to change the folder are ignored.
class TWorkingFolder {
 public:
  explicit TWorkingFolder(const std::string& Folder);
  ~TWorkingFolder();
  TWorkingFolder(const TWorkingFolder&) = delete;
  TWorkingFolder& operator=(const TWorkingFolder&) = delete;

 private:
  std::string FSaved;
};

}  // namespace setup
