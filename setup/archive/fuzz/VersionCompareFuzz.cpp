// Version comparison and the overwrite decision for any two version texts.
//
// Input: the two texts, separated by a zero byte (each cut to 256 characters).
// CompareVersions must be antisymmetric and find every text equal to itself; the
// decision must answer a code 0 to 4 for every mode and every set of facts, fail only
// for an unknown mode or unreadable dates, and agree with the comparison.
#include <cstdint>
#include <string>

#include "OverwriteDecision.h"

using namespace setup;

namespace {

int Mirror(int Result) {
  return Result == 0 ? 0 : 3 - Result;
}

uint8_t ByOrder(int Order) {
  return Order == 0 ? odSame : Order == 1 ? odReplace : odKeep;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::string input(reinterpret_cast<const char*>(Data), Size);
  size_t split = input.find('\0');
  std::string a = input.substr(0, split).substr(0, 256);
  std::string b = split == std::string::npos ? std::string() : input.substr(split + 1).substr(0, 256);

  const int ab = CompareVersions(a, b), ba = CompareVersions(b, a);
  if (ab < 0 || ab > 2 || ba != Mirror(ab)) __builtin_trap();
  if (CompareVersions(a, a) != 0 || CompareVersions(b, b) != 0) __builtin_trap();

  for (int mode = -2; mode <= 7; ++mode)
    for (int exists = 0; exists < 2; ++exists)
      for (int dateOrder = -1; dateOrder <= 2; ++dateOrder) {
        TOverwriteFacts facts;
        facts.TargetExists = [&] { return exists != 0; };
        facts.SourceVersion = [&] { return a; };
        facts.TargetVersion = [&] { return b; };
        facts.CompareDates = [&](int& Result) {
          if (dateOrder < 0) return false;
          Result = dateOrder;
          return true;
        };
        const uint8_t code = DecideOverwrite(mode, facts);
        if (code > odAsk) __builtin_trap();
        const bool known = mode >= owAlways && mode <= owAsk;
        if (!known && code != odFailed) __builtin_trap();
        if (known && dateOrder >= 0 && code == odFailed) __builtin_trap();
        uint8_t expected = code;
        switch (mode) {
          case owAlways:
            expected = odReplace;
            break;
          case owNever:
            expected = exists ? odKeep : odReplace;
            break;
          case owVersion:
            expected = ByOrder(ab);
            break;
          case owDate:
            expected = dateOrder < 0 ? odFailed : ByOrder(dateOrder);
            break;
          case owVersionDate:
            expected = ab != 0 ? ByOrder(ab) : dateOrder < 0 ? odFailed : ByOrder(dateOrder);
            break;
          case owAsk:
            expected = odAsk;
            break;
        }
        if (code != expected) __builtin_trap();
      }
  return 0;
}
