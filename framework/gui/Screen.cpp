#include "Screen.h"

#include <windows.h>

namespace fw {

int ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
  return GetSystemMetrics(SM_CYSCREEN);
}
int CaptionHeight() {
  return GetSystemMetrics(SM_CYCAPTION);
}

}  // namespace fw
