// The translator's operations that forms call. Until a translator registers itself the
// hooks pass everything through: texts and fonts stay, and a form keeps its language.
// Languages are the ordinals of the translator's language enumeration.
#pragma once

namespace fw {
class TComponent;
class TControl;
}  // namespace fw

namespace setup {

using TLanguageOrdinal = int;
constexpr TLanguageOrdinal kLanguageEnglish = 5;  // qlEnglish
constexpr TLanguageOrdinal kLanguageUser = 20;    // qlUser: the user's own language

struct TTranslatorHooks {
  // The target language's font on Control and its children.
  void (*ApplyFont)(fw::TControl* Control) = nullptr;
  // The same in the given language.
  void (*ApplyFontIn)(TLanguageOrdinal Target, fw::TControl* Control) = nullptr;
  // Translates Component and what it owns from Source into the target language;
  // returns the language the texts are in afterwards.
  TLanguageOrdinal (*TranslateTree)(TLanguageOrdinal Source, fw::TComponent* Component) = nullptr;
  // The same into the given language.
  TLanguageOrdinal (*TranslateTreeInto)(TLanguageOrdinal Source, TLanguageOrdinal Target,
                                        fw::TComponent* Component) = nullptr;
};

// Registers the translator's operations; hooks left nil pass through. Returns the
// previous set.
TTranslatorHooks SetTranslatorHooks(const TTranslatorHooks& Hooks);

void ApplyTranslatorFont(fw::TControl* Control);
void ApplyTranslatorFontIn(TLanguageOrdinal Target, fw::TControl* Control);
TLanguageOrdinal TranslateComponentTree(TLanguageOrdinal Source, fw::TComponent* Component);
TLanguageOrdinal TranslateComponentTreeInto(TLanguageOrdinal Source, TLanguageOrdinal Target,
                                            fw::TComponent* Component);

}  // namespace setup
