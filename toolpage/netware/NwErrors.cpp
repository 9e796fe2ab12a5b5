#include "NwErrors.h"

#include <algorithm>
#include <iterator>

namespace toolpage {

namespace {

struct TErrorText {
  NWCCODE Code;
  const char* Text;
};

// Messages of the codes the user meets most often.
const TErrorText kMessages[] = {
    {0x0203, "Unable to mount specified volume"},
    {0x8801, "Invalid connection"},
    {0x8905, "Access denied"},
    {0x8980, "File locked by another station"},
    {0x8982, "You don't have sufficient rights to open the file"},
    {0x8989, "You don't have sufficient rights for searching"},
    {0x898A, "You don't have sufficient rights to delete entry"},
    {0x898B, "You don't have sufficient rights to rename entry"},
    {0x898C, "You don't have sufficient rights to modify entry"},
    {0x898E, "File is in use"},
    {0x8990, "File is \"read-only\""},
    {0x8992, "File already exists"},
    {0x8996, "Directory does not exist"},
    {0x8998, "Volume does not exist"},
    {0x8999, "Directory full"},
    {0x899B, "Invalid directory handle"},
    {0x899C, "Invalid path"},
    {0x89A0, "Directory is not empty"},
    {0x89A1, "I/O Error"},
    {0x89A8, "Access denied"},
    {0x89BF, "Invalid name space"},
    {0x89C6, "Attempt to use console without operator privileges"},
    {0x89FC, "Selected object does not exist"},
    {0x89FD, "Invalid station number"},
    {0x89FE, "Rights not found"},
    {0x89FF, "Invalid access or hardware error"},
};

}  // namespace

std::string NWErrorText(NWCCODE Code) {
  if (Code == 0) return "";
  std::string text;
  auto it =
      std::find_if(std::begin(kMessages), std::end(kMessages), [&](const TErrorText& e) { return e.Code == Code; });
  if (it != std::end(kMessages)) {
    text = it->Text;
  } else {
    text = NWErrorConstName(Code);
    if (text.empty()) text = "Error code:";
  }
  return text + fw::Format(" (%04X)", Code);
}

void CheckNWError(const std::string& Context, NWCCODE Code) {
  if (Code == 0) return;
  throw TNWException(Context + "\r" + NWErrorText(Code), Code);
}

}  // namespace toolpage
