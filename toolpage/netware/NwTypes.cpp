#include "NwTypes.h"

namespace toolpage {

char* WritablePChar(std::string& S) {
  static char empty[4] = {};
  if (S.empty()) {
    empty[0] = 0;
    return empty;
  }
  return S.data();  // std::string owns its characters: the pointer is unique and writable
}

}  // namespace toolpage
