#include "InstallSwitches.h"

#include <cctype>
#include <cstring>

#include "support/Errors.h"

namespace setup {

namespace {

constexpr char kInvalidParameter[] =
    "Invalid parameter <%s>. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e "
    "(Called by self-extractor), -r (After reboot)";

}  // namespace

void TInstallSwitches::Set(TInstallSwitch Switch, const std::string& Value) {
  FPresent = static_cast<uint8_t>(FPresent | Bit(Switch));
  FValues[static_cast<size_t>(Switch)] = Value;
}

TInstallSwitches ParseInstallSwitches(const std::vector<std::string>& Arguments) {
  TInstallSwitches switches;
  for (const std::string& argument : Arguments) {
    if (argument.size() < 2 || (argument[0] != '-' && argument[0] != '*'))
      throw IException(kInvalidParameter, argument);
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(argument[1])));
    const char* found = letter != '\0' ? std::strchr(kSwitchLetters, letter) : nullptr;
    if (found == nullptr) {
      if (argument[0] == '-') throw IException(kInvalidParameter, argument);
      continue;
    }
    switches.Set(static_cast<TInstallSwitch>(found - kSwitchLetters), argument.substr(2));
  }
  return switches;
}

}  // namespace setup
