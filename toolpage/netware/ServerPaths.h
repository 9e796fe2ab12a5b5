// Server path forms, version numbers and the replies of the server-information calls,
// without windows.h: what can be worked out from texts and reply bytes alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "NwTypes.h"

namespace toolpage {

// Name spaces of a volume.
enum : uint8_t { nsDOS = 0, nsLong = 4 };

// NetWare entry attributes and search attributes used by the page.
enum : uint32_t {
  naReadOnly = 0x1,
  naTransactional = 0x1000,
  naPurgeOnDelete = 0x10000,
  naDeleteInhibit = 0x40000,
  saHiddenSystem = 6,        // hidden and system files included
  saHiddenSystemDirs = 0x16  // also directories
};

// Dir + Name with exactly one separator between them where one is needed:
// "SYS:SYSTEM\" + "\A.OKS" and "SYS:SYSTEM" + "A.OKS" both give "SYS:SYSTEM\A.OKS".
std::string JoinServerPath(const std::string& Dir, const std::string& Name);
// The part up to and including the first ":" ("SYS:" of "SYS:SYSTEM"); empty without one.
std::string ExtractVolume(const std::string& Path);
// True for paths that need no conversion to a UNC path: "\\..." and drive paths "C:...".
bool IsUNCOrDrivePath(const std::string& Path);
// The volume-relative part of a UNC path: the server prefix ("SRV/") dropped, the first ":"
// made a separator ("SYS:SYSTEM" and "SYS:\SYSTEM" give "SYS\SYSTEM").
std::string ServerPathToShareForm(const std::string& Path);
// "\\" + Server + "\" + ShareForm. Raises TNWException when Server is no plain server name:
// empty ("\\\SYS\..." names a folder on the local drive's root), "." or ".." (this
// machine's devices), or holding a path separator, ":", a wildcard or a control character
// (another server, share or device than the one meant).
bool IsPlainServerName(const std::string& Server);
std::string MakeUNCPath(const std::string& Server, const std::string& ShareForm);
// A volume root ("SYS:", "VOL1:"): a name and a colon, nothing after it.
bool IsVolumeRoot(const std::string& Path);

// major * 100 + minor, rounded as Round((major + minor / 100) * 100): 3.12 gives 312.
int32_t ServerVersionNumber(uint32_t Major, uint32_t Minor);
bool IsVersionAtLeast(uint32_t Major, uint32_t Minor, uint32_t WantMajor, uint32_t WantMinor);

// The level-2 connection information block (140 bytes): server name and version.
constexpr size_t kConnInfoSize = 140;
struct TConnInfo {
  std::string ServerName;
  uint32_t Major = 0, Minor = 0;
};
TConnInfo DecodeConnInfoLevel2(const uint8_t* Block140);

// One batch of the loaded-module list (a buffer of 1556 bytes): the count at byte 16, the
// numbers from byte 20. At most 128 numbers are taken; a count that is 128 or more means
// that another batch follows. Raises TNWException for a buffer too small for its header.
constexpr size_t kModuleListSize = 1556;
constexpr uint32_t kModuleBatch = 128;
struct TModuleBatch {
  std::vector<uint32_t> Numbers;
  bool More = false;
};
TModuleBatch DecodeModuleListBatch(const uint8_t* Buffer, size_t Size);

// The file name that IsNlmLoaded looks for: upper-cased, without directory, ".NLM" added
// when the name has no extension ("tuvek" gives "TUVEK.NLM", "VX4LIB.312" stays).
std::string NlmLookupName(const std::string& Name);

// The client scan's pattern for a list mask: "*.*" and "*." become "*"; NamesWithoutDot
// tells that "*." asked for names without a dot only.
struct TScanMask {
  std::string Pattern;
  bool NamesWithoutDot = false;
};
TScanMask ScanMaskOf(const std::string& Mask);

// The name of a 344-byte entry information block: the length byte at 84, the characters
// from 85, bounded by the block.
constexpr size_t kEntryInfoSize = 344;
std::string EntryInfoName(const uint8_t* Info344);
// The NUL-terminated text at Offset of a block of Size bytes (empty past the block).
std::string BoundedText(const uint8_t* Block, size_t Size, size_t Offset);

}  // namespace toolpage
