#include "OSVersion.h"

#include <windows.h>

#include "Errors.h"

namespace setup {

namespace {

bool SystemVersionQuery(TWindowsVersion& Version) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148
  if (!GetVersionExA(&info)) return false;
  Version.Platform = info.dwPlatformId;
  Version.Major = info.dwMajorVersion;
  Version.Minor = info.dwMinorVersion;
  return true;
}

TWindowsVersionQuery gVersionQuery = SystemVersionQuery;

}  // namespace

const fw::TEnumInfo& OSVerTypeInfo() {
  static const fw::TEnumInfo info{"TOSVerType",
                                  {"os31win32", "oswin95", "oswinNT", "oswinNT351", "osUnidentified", "osLinux",
                                   "oswin2K", "oswin98", "oswinME", "oswinXP"}};
  return info;
}

TOSVerType OSVersionFromInfo(const TWindowsVersion& Version) {
  switch (Version.Platform) {
    case 0:
      return os31win32;
    case 1:
      if (Version.Minor == 90) return oswinME;
      if (Version.Minor == 10) return oswin98;
      if (Version.Major == 4 && Version.Minor == 0) return oswin95;
      return oswin98;
    case 2:
      if (Version.Major >= 6) return oswinXP;
      if (Version.Major == 5) return Version.Minor == 0 ? oswin2K : oswinXP;
      if (Version.Major == 4) return oswinNT;
      return oswinNT351;
    default:
      return osUnidentified;
  }
}

bool QueryWindowsVersion(TWindowsVersion& Version) {
  return gVersionQuery(Version);
}

TOSVerType GetOSVersion() {
  TWindowsVersion version;
  if (!QueryWindowsVersion(version)) throw EAPIRoutines("Could not get information about the current version of Windows");
  return OSVersionFromInfo(version);
}

TWindowsVersionQuery SetWindowsVersionQuery(TWindowsVersionQuery Query) {
  TWindowsVersionQuery previous = gVersionQuery;
  gVersionQuery = Query != nullptr ? Query : SystemVersionQuery;
  return previous;
}

}  // namespace setup
