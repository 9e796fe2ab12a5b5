// Single requests to the base server module's extension "KAVEL:STD4".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "NcpReplies.h"
#include "NwTypes.h"

namespace toolpage {

extern const char* const kStd4Extension;  // "KAVEL:STD4"

enum : uint8_t { std4ExecuteNcf = 121, std4NlmInfo = 124 };

// The 258-byte request: sub-function, the text cut to 256 characters, its terminator, zeros.
std::vector<uint8_t> BuildStd4StringRequest(uint8_t SubFunction, const std::string& Text);
// The 5-byte request: 124, then the 32-bit index.
std::vector<uint8_t> BuildStd4NlmInfoRequest(int32_t Index);

// The 32-bit reply value, or -1 when the request could not be sent or failed.
int32_t Std4StringRequest(TConnRef ConnRef, uint8_t SubFunction, const std::string& Text);
int32_t Std4ExecuteNcf(TConnRef ConnRef, const std::string& NcfPath);
// 0 on success, the client's code when the request failed, -1 when it was not sent.
// A broken reply raises TNWException (NcpReplies.h).
int32_t Std4GetNlmInfo(TConnRef ConnRef, int32_t Index, NW_312_NLM_INFO& Info);

}  // namespace toolpage
