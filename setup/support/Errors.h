// The installer's error classes. IException and its per-component descendants
// carry English messages that pass through the translator before formatting.
#pragma once

#include <cstdint>
#include <string>

#include "core/SysUtils.h"

namespace setup {

using fw::Exception;

// The user cancelled the installation.
class EAI : public Exception {
 public:
  using Exception::Exception;
};
class EAIUserAbort : public EAI {
 public:
  EAIUserAbort() : EAI("Installation aborted by the user") {}
};
// The user cancelled a build.
class EUserAbortInstall : public Exception {
 public:
  EUserAbortInstall() : Exception("Creating Install Aborted!") {}
  using Exception::Exception;
};

FW_EXCEPTION(ECustomQuenlarkAbnormal, Exception);
FW_EXCEPTION(EQuenlarkAbnormal, ECustomQuenlarkAbnormal);
FW_EXCEPTION(EQnlkCompress, EQuenlarkAbnormal);
FW_EXCEPTION(EqcDiskFull, EQnlkCompress);
FW_EXCEPTION(EqcAborted, EQnlkCompress);
FW_EXCEPTION(EAPIRoutines, EQuenlarkAbnormal);
FW_EXCEPTION(EProgramLauncher, EQuenlarkAbnormal);

class EProgramLauncherFailed : public EProgramLauncher {
 public:
  EProgramLauncherFailed(std::string message, uint32_t errorCode)
      : EProgramLauncher(std::move(message)), FErrorCode(errorCode) {}
  uint32_t ErrorCode() const { return FErrorCode; }

 private:
  uint32_t FErrorCode;
};

// The translator's hook for English texts; texts pass unchanged until a translator
// installs itself.
using TTranslateHook = std::string (*)(const std::string& text);
void SetEnglishTextHook(TTranslateHook hook);
std::string TranslateEnglishText(const std::string& text);

// Base of the install components' errors. The English message, or the format, is
// translated first; a format is then filled with its arguments.
class IException : public ECustomQuenlarkAbnormal {
 public:
  explicit IException(const std::string& message) : ECustomQuenlarkAbnormal(TranslateEnglishText(message)) {}
  template <class... Args>
    requires(sizeof...(Args) > 0)
  IException(const std::string& format, const Args&... args)
      : ECustomQuenlarkAbnormal(fw::Format(TranslateEnglishText(format), args...)) {}
};

// A component's own error class: IException's two ways of construction.
#define SETUP_IEXCEPTION(Name, Base) \
  class Name : public Base {         \
   public:                           \
    using Base::Base;                \
  }

// The file containers' errors; setting file attributes reports through the second.
SETUP_IEXCEPTION(IEFileContainer, IException);
SETUP_IEXCEPTION(IEfcSetAttributes, IEFileContainer);

// Windows' text for a system error code (FormatMessageA from the system table), without
// the line break at its end.
std::string SystemErrorText(uint32_t Code);

}  // namespace setup
