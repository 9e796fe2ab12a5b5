#include "TranslatorHooks.h"

namespace setup {

namespace {
TTranslatorHooks gHooks;
}

TTranslatorHooks SetTranslatorHooks(const TTranslatorHooks& Hooks) {
  TTranslatorHooks previous = gHooks;
  gHooks = Hooks;
  return previous;
}

void ApplyTranslatorFont(fw::TControl* Control) {
  if (gHooks.ApplyFont != nullptr) gHooks.ApplyFont(Control);
}

void ApplyTranslatorFontIn(TLanguageOrdinal Target, fw::TControl* Control) {
  if (gHooks.ApplyFontIn != nullptr) gHooks.ApplyFontIn(Target, Control);
}

TLanguageOrdinal TranslateComponentTree(TLanguageOrdinal Source, fw::TComponent* Component) {
  return gHooks.TranslateTree != nullptr ? gHooks.TranslateTree(Source, Component) : Source;
}

TLanguageOrdinal TranslateComponentTreeInto(TLanguageOrdinal Source, TLanguageOrdinal Target,
                                            fw::TComponent* Component) {
  return gHooks.TranslateTreeInto != nullptr ? gHooks.TranslateTreeInto(Source, Target, Component) : Source;
}

}  // namespace setup
