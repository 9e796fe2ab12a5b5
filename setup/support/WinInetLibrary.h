// The system's internet library, loaded by name when a location first needs it (a setup
// without a net source never touches it), with the entry points the location calls.
#pragma once

#include <windows.h>
// after windows.h
#include <wininet.h>

#include <string>

#include "gui/WinHandles.h"

namespace setup {

inline constexpr char kWinInetLibraryName[] = "WININET.DLL";

struct TWinInetEntryPoints {
  decltype(&::InternetGetLastResponseInfoA) InternetGetLastResponseInfoA = nullptr;
  decltype(&::InternetOpenA) InternetOpenA = nullptr;
  decltype(&::InternetConnectA) InternetConnectA = nullptr;
  decltype(&::FtpSetCurrentDirectoryA) FtpSetCurrentDirectoryA = nullptr;
  decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;
  decltype(&::InternetQueryDataAvailable) InternetQueryDataAvailable = nullptr;
  decltype(&::InternetReadFile) InternetReadFile = nullptr;
  decltype(&::FtpOpenFileA) FtpOpenFileA = nullptr;
  decltype(&::HttpOpenRequestA) HttpOpenRequestA = nullptr;
  decltype(&::HttpSendRequestA) HttpSendRequestA = nullptr;
  decltype(&::HttpQueryInfoA) HttpQueryInfoA = nullptr;
  // The file's size on an FTP server comes from its directory entry.
  decltype(&::FtpFindFirstFileA) FtpFindFirstFileA = nullptr;
};

class TWinInetLibrary {
 public:
  // Loads LibraryName and binds every entry point in order. Raises ENIL_FailLoadWININET
  // when the library cannot be loaded, ENIL_FailLoadDLLProc naming the first missing
  // entry point.
  explicit TWinInetLibrary(const std::string& LibraryName = kWinInetLibraryName);
  const TWinInetEntryPoints& Api() const { return FApi; }

 private:
  fw::TModuleHandle FModule;
  TWinInetEntryPoints FApi;
};

// An internet handle that is closed when it goes, unless Close was called: Close reports
// whether the library closed it.
class TInternetHandle {
 public:
  TInternetHandle(const TWinInetEntryPoints& Api, HINTERNET Handle) : FApi(&Api), FHandle(Handle) {}
  ~TInternetHandle() { Close(); }
  TInternetHandle(const TInternetHandle&) = delete;
  TInternetHandle& operator=(const TInternetHandle&) = delete;

  HINTERNET Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  bool Close() {
    HINTERNET handle = FHandle;
    FHandle = nullptr;
    return handle == nullptr || FApi->InternetCloseHandle(handle);
  }

 private:
  const TWinInetEntryPoints* FApi;
  HINTERNET FHandle;
};

}  // namespace setup
