// Basic types of the NetWare client interface as the page uses them.
#pragma once

#include <cstdint>
#include <string>

#include "core/SysUtils.h"

namespace toolpage {

using NWCCODE = uint32_t;      // result of a client call; 0 is success
using TConnRef = uint32_t;     // connection reference given by the host
using TConnHandle = uint32_t;  // connection handle opened from a reference; 0 = none
using TNWDirHandle = uint8_t;  // temporary directory handle

// Raised where the program's own consistency checks fail ("ParamLen to loong!").
class EAssertionFailed : public fw::Exception {
 public:
  using fw::Exception::Exception;
};

// A unique, writable pointer to the characters of S, for client calls that take a
// path or name; an empty string gives a static, zero-filled buffer.
char* WritablePChar(std::string& S);

}  // namespace toolpage
