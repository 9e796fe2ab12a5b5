#include "InstallTypes.h"

namespace setup {

const fw::TEnumInfo& InstallTypeInfo() {
  static const fw::TEnumInfo info{"TInstallType", {"itFull", "itDefault", "itCompact", "itCustom"}};
  return info;
}

const fw::TEnumInfo& DistributeTypeInfo() {
  static const fw::TEnumInfo info{"TDistributeType", {"dtTraditional", "dtWeb", "dtTraditionalNet"}};
  return info;
}

}  // namespace setup
