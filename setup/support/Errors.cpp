#include "Errors.h"

#include <windows.h>

namespace setup {

namespace {
TTranslateHook gEnglishTextHook = nullptr;
}

void SetEnglishTextHook(TTranslateHook hook) { gEnglishTextHook = hook; }

std::string TranslateEnglishText(const std::string& text) {
  return gEnglishTextHook != nullptr ? gEnglishTextHook(text) : text;
}

std::string SystemErrorText(uint32_t Code) {
  char buffer[1024];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Code, 0, buffer,
                           sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace setup
