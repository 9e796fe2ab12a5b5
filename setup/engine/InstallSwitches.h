// The setup program's command-line switches: "-" or "*", a letter, and for some letters
// a value that follows the letter directly ("-sC:\My Build").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace setup {

// The eight switches, in the order of their letters b f d e r s c n.
enum class TInstallSwitch : uint8_t {
  swBuild,
  swFloppies,
  swDebug,
  swSelfExtract,
  swAfterReboot,
  swSource,
  swCleanup,
  swClearUnfinished
};
using enum TInstallSwitch;

inline constexpr char kSwitchLetters[] =
    "bfdersc"
    "n";

class TInstallSwitches {
 public:
  bool Has(TInstallSwitch Switch) const { return (FPresent & Bit(Switch)) != 0; }
  // The text after the letter of the last argument that gave the switch; empty when absent.
  const std::string& Value(TInstallSwitch Switch) const { return FValues[static_cast<size_t>(Switch)]; }
  void Set(TInstallSwitch Switch, const std::string& Value);
  bool Empty() const { return FPresent == 0; }

 private:
  static uint8_t Bit(TInstallSwitch Switch) { return static_cast<uint8_t>(1u << static_cast<unsigned>(Switch)); }
  uint8_t FPresent = 0;
  std::array<std::string, 8> FValues;
};

// Reads the arguments (the program's name not among them). An argument shorter than
// two characters, one that starts with neither "-" nor "*", and "-" with an unknown
// letter raise IException "Invalid parameter <...>"; "*" with an unknown letter is
// passed over. Letters count in either case.
TInstallSwitches ParseInstallSwitches(const std::vector<std::string>& Arguments);

}  // namespace setup
