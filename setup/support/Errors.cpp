#include "Errors.h"

namespace setup {

namespace {
TTranslateHook gEnglishTextHook = nullptr;
}

void SetEnglishTextHook(TTranslateHook hook) { gEnglishTextHook = hook; }

std::string TranslateEnglishText(const std::string& text) {
  return gEnglishTextHook != nullptr ? gEnglishTextHook(text) : text;
}

}  // namespace setup
