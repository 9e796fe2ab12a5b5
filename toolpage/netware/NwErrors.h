// NetWare result codes as texts and exceptions.
#pragma once

#include <cstdint>
#include <string>

#include "NwTypes.h"

namespace toolpage {

// A failed client call: the message ends with the code's text and the code in hex.
class TNWException : public fw::Exception {
 public:
  TNWException(std::string Msg, NWCCODE ErrorCode) : fw::Exception(std::move(Msg)), FErrorCode(ErrorCode) {}
  NWCCODE ErrorCode() const { return FErrorCode; }

 private:
  NWCCODE FErrorCode;
};

// Code raised for a server reply that is shorter than, or inconsistent with, what it announces.
constexpr NWCCODE NW_INVALID_REPLY_LENGTH = 0x8816;

// The code's constant name ("NO_RENAME_PRIVILEGES"), or empty when unknown.
// Codes of family 0xFFFF are looked up by their low 16 bits.
std::string NWErrorConstName(NWCCODE Code);
// The message text of a code followed by the code in hex: "Invalid name space (89BF)";
// empty for 0.
std::string NWErrorText(NWCCODE Code);
// Raises TNWException "Context\r<text>" unless Code is 0.
void CheckNWError(const std::string& Context, NWCCODE Code);

// Number of codes the name table knows.
size_t NWErrorConstNameCount();

}  // namespace toolpage
