// The languages of the translator and what belongs to each: the Windows language id
// that selects it, its font charset, face and minimum size, and the names of its
// bitmap and language file.
#pragma once

#include <cstdint>
#include <string>

#include "core/TypInfo.h"

namespace setup {

enum class TQnlkLanguage {
  qlChineseSimplified,
  qlChineseTraditional,
  qlCzech,
  qlDanish,
  qlDutch,
  qlEnglish,
  qlFrench,
  qlGerman,
  qlGreek,
  qlHebrew,
  qlItalian,
  qlJapanese,
  qlKorean,
  qlNorwegianBokmal,
  qlNorwegianNynorsk,
  qlPolish,
  qlPortugese,
  qlRussian,
  qlSpanish,
  qlSwedish,
  qlUser,  // not a language of its own: the user's default UI language
  qlVietnamese,
};
using enum TQnlkLanguage;

extern const fw::TEnumInfo kQnlkLanguageInfo;

// A Windows LANGID: primary language in the low 10 bits, sublanguage in the high 6.
using TLangId = uint16_t;
int PrimaryLangId(TLangId LangId);
int SubLangId(TLangId LangId);
// The language of a LANGID; every id without a language of its own is English.
TQnlkLanguage LangIdToLanguage(TLangId LangId);

// The font charset of a language; raises Exception "Unrecognized language" for
// qlUser and values past qlVietnamese.
int LanguageCharset(TQnlkLanguage Language);

struct TLanguageFace {
  std::string Name;
  int MinSize;  // points
};
// The face a language's texts are shown in; raises Exception "Unrecognized language"
// for qlHebrew, qlUser and values past qlVietnamese.
TLanguageFace LanguageFace(TQnlkLanguage Language);

// Carried by each language; empty for qlUser and values out of range.
std::string LanguageBitmapName(TQnlkLanguage Language);
std::string LanguageFileName(TQnlkLanguage Language);

}  // namespace setup
