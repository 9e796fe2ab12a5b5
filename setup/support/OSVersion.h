// The running Windows version as the installer's version classes.
#pragma once

#include <cstdint>

#include "core/Sets.h"
#include "core/TypInfo.h"

namespace setup {

enum class TOSVerType { os31win32, oswin95, oswinNT, oswinNT351, osUnidentified, osLinux, oswin2K, oswin98, oswinME, oswinXP };
using enum TOSVerType;
using OSSet = fw::TSet<TOSVerType>;
const fw::TEnumInfo& OSVerTypeInfo();

// The versions of the NT family (the RunOnce writer's choice of root key).
constexpr OSSet OSNTFamily{oswinNT, oswin2K, oswinXP};

// What GetVersionExA reports.
struct TWindowsVersion {
  uint32_t Platform = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
  uint32_t Major = 0;
  uint32_t Minor = 0;
};

// The version class of a reported version. NT 6 and later count as the newest NT
// member the classes know (oswinXP); Windows 95 (4.0) is oswin95.
TOSVerType OSVersionFromInfo(const TWindowsVersion& Version);

// What the running Windows reports, read through the current query (below); false when
// it cannot be read.
bool QueryWindowsVersion(TWindowsVersion& Version);

// The running Windows' class. Raises EAPIRoutines "Could not get information about the
// current version of Windows" when the version cannot be read.
TOSVerType GetOSVersion();

// Where GetOSVersion reads the version: false when it cannot be read. Returns the
// previous query; nil puts the system's query (GetVersionExA) back. Tests use it to
// run every version through the objects that ask.
using TWindowsVersionQuery = bool (*)(TWindowsVersion& Version);
TWindowsVersionQuery SetWindowsVersionQuery(TWindowsVersionQuery Query);

}  // namespace setup
