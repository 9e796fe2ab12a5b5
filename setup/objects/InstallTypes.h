// Types every installable object shares: setup types, operation states, distribution
// kinds, object categories and the information codes of broadcasts and reports.
#pragma once

#include "core/Sets.h"
#include "core/TypInfo.h"
#include "support/OSVersion.h"

namespace setup {

enum class TInstallType { itFull, itDefault, itCompact, itCustom };
using enum TInstallType;
using TInstallTypeSet = fw::TSet<TInstallType>;
const fw::TEnumInfo& InstallTypeInfo();

// The operation under way in a file or a file container.
enum class TInstallFileState { ifsNone, ifsCompress, ifsInstall, ifsCopying, ifsReflect };
using enum TInstallFileState;

// How the running setup is distributed.
enum class TDistributeType { dtTraditional, dtWeb, dtTraditionalNet };
using enum TDistributeType;
const fw::TEnumInfo& DistributeTypeInfo();

// Object categories (RegisteredType); a container keeps its helpers in ascending order.
constexpr int rtGroup = 500;
constexpr int rtFileContainer = 1000;
constexpr int rtInstallFile = 2000;
constexpr int rtLinkGroup = 7000;
constexpr int rtShellLink = 8000;
constexpr int rtRegistry = 8500;
constexpr int rtDialog = 9000;
// Broadcasts reach the helpers of this category and above.
constexpr int kBroadcastMinimumCategory = rtInstallFile;

// Broadcast codes (down to an object's helpers).
constexpr int icBeforeProcess = -990;     // OnBeforeProcess has run
constexpr int icIncluded = -999;          // an included object goes on to the setup-type test
constexpr int icAfterProcess = -989;      // OnAfterProcess has run
constexpr int icShowStatus = -974;        // PO: TMessageParameter
constexpr int icHideStatus = -973;
constexpr int icDownloadStatus = -988;    // PO: TDownloadStatusParameter
constexpr int icContainerStarts = -992;
constexpr int icOperationEnded = -996;
constexpr int icReplacingFile = -997;     // PO: the file
constexpr int icFileStatus = -998;        // PO: TFileStatusParameter
constexpr int icNewDisk = -993;           // PO: list (file, TDiskParameter)

// Report codes (up the Container chain).
constexpr int irFileInstalled = 1001;
constexpr int irFileInstallStarts = 1002;
constexpr int irFileReplacing = 1003;
constexpr int irBeforeCompress = 1004;
constexpr int irAfterCompress = 1005;
constexpr int irBeforeCopy = 1006;
constexpr int irAfterCopy = 1007;
constexpr int irInstallProgress = 1008;   // PO: list (file, TFileStatusParameter)
constexpr int irCompressProgress = 1009;
constexpr int irCopyProgress = 1010;
constexpr int irDiskRequest = 1011;       // PO: list (file, TDiskParameter)
constexpr int irContainerStarts = 1012;
constexpr int irContainerEnds = 1013;
constexpr int irDownloadStatus = 1014;    // PO: TDownloadStatusParameter
constexpr int irFileSkipped = 1015;
constexpr int irFileKept = 1016;

}  // namespace setup
