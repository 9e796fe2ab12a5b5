#include "LanguageIds.h"

#include "core/SysUtils.h"

namespace setup {

const fw::TEnumInfo kQnlkLanguageInfo{"TQnlkLanguage",
                                      {"qlChineseSimplified",
                                       "qlChineseTraditional",
                                       "qlCzech",
                                       "qlDanish",
                                       "qlDutch",
                                       "qlEnglish",
                                       "qlFrench",
                                       "qlGerman",
                                       "qlGreek",
                                       "qlHebrew",
                                       "qlItalian",
                                       "qlJapanese",
                                       "qlKorean",
                                       "qlNorwegianBokmal",
                                       "qlNorwegianNynorsk",
                                       "qlPolish",
                                       "qlPortugese",
                                       "qlRussian",
                                       "qlSpanish",
                                       "qlSwedish",
                                       "qlUser",
                                       "qlVietnamese"}};

namespace {

// The faces of the Far-East languages, in their own code pages.
const char kChineseFace[] = "\xB7\x73\xB2\xD3\xA9\xFA\xC5";  // 7 bytes, as the table has always held them
const char kJapaneseFace[] = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
const char kKoreanFace[] = "\xB9\xD9\xC5\xC1";

struct TLanguageInfo {
  int Charset;
  const char* Face;  // nil: the language has no face of its own
  int MinSize;
  const char* Bitmap;
  const char* File;
};

// Indexed by TQnlkLanguage; qlUser has nothing of its own.
const TLanguageInfo kLanguages[] = {
    {134, kChineseFace, 9, "BM_LANG_SIMPCHINESE", "qnliChineseSimplified.txt"},
    {136, kChineseFace, 9, "BM_LANG_CHINESE_TRADITIONAL", "qnliChineseTraditional.txt"},
    {238, "Arial", 8, "BM_LANG_CZECH", "qnliCzech.txt"},
    {0, "Arial", 8, "BM_LANG_DANISH", "qnliDanish.txt"},
    {0, "Arial", 8, "BM_LANG_DUTCH", "qnliDutch.txt"},
    {0, "Arial", 8, "BM_LANG_ENGLISH", "qnliEnglish.txt"},
    {0, "Arial", 8, "BM_LANG_FRENCH", "qnliFrench.txt"},
    {0, "MS Sans Serif", 8, "BM_LANG_GERMAN", "qnliGerman.txt"},
    {0, "SGreek", 8, "BM_LANG_GREEK", "qnliGreek.txt"},
    {177, nullptr, 0, "BM_LANG_HEBREW", "qnliHebrew.txt"},
    {0, "Arial", 8, "BM_LANG_ITALIAN", "qnliItalian.txt"},
    {128, kJapaneseFace, 9, "BM_LANG_JAPANESE", "qnliJapanese.txt"},
    {129, kKoreanFace, 9, "BM_LANG_KOREAN", "qnliKorean.txt"},
    {0, "Arial", 8, "BM_LANG_NORWEGIAN_BOKMAL", "qnliNorwegianBokmal.txt"},
    {0, "Arial", 8, "BM_LANG_NORWEGIAN_NYNORSK", "qnliNorwegianNynorsk.txt"},
    {238, "Arial", 8, "BM_LANG_POLISH", "qnliPolish.txt"},
    {238, "Arial", 8, "BM_LANG_PORTUGESE", "qnliPortugese.txt"},
    {204, "Arial", 8, "BM_LANG_RUSSIAN", "qnliRussian.txt"},
    {0, "Arial", 8, "BM_LANG_SPANISH", "qnliSpanish.txt"},
    {0, "Arial", 8, "BM_LANG_SWEDISH", "qnliSwedish.txt"},
    {0, nullptr, 0, nullptr, nullptr},  // qlUser
    {163, "Arial", 8, "BM_LANG_VIETNAMESE", "qnliVietnamese.txt"},
};
constexpr int kLanguageValues = static_cast<int>(sizeof kLanguages / sizeof kLanguages[0]);

// The entry of a real language, or nil for qlUser and values out of range.
const TLanguageInfo* Info(TQnlkLanguage Language) {
  int ordinal = static_cast<int>(Language);
  if (ordinal < 0 || ordinal >= kLanguageValues || Language == qlUser) return nullptr;
  return &kLanguages[ordinal];
}

[[noreturn]] void Unrecognized() {
  throw fw::Exception("Unrecognized language");
}

}  // namespace

int PrimaryLangId(TLangId LangId) {
  return LangId & 0x3FF;
}
int SubLangId(TLangId LangId) {
  return LangId >> 10;
}

TQnlkLanguage LangIdToLanguage(TLangId LangId) {
  switch (PrimaryLangId(LangId)) {
    case 4:
      return SubLangId(LangId) == 1 ? qlChineseTraditional : qlChineseSimplified;
    case 5:
      return qlCzech;
    case 6:
      return qlDanish;
    case 19:
      return qlDutch;
    case 12:
      return qlFrench;
    case 7:
      return qlGerman;
    case 8:
      return qlGreek;
    case 13:
      return qlHebrew;
    case 16:
      return qlItalian;
    case 17:
      return qlJapanese;
    case 18:
      return qlKorean;
    case 20:
      return SubLangId(LangId) == 1 ? qlNorwegianBokmal : qlNorwegianNynorsk;
    case 21:
      return qlPolish;
    case 22:
      return qlPortugese;
    case 25:
      return qlRussian;
    case 10:
      return qlSpanish;
    case 29:
      return qlSwedish;
    case 42:
      return qlVietnamese;
    default:
      return qlEnglish;
  }
}

int LanguageCharset(TQnlkLanguage Language) {
  const TLanguageInfo* info = Info(Language);
  if (info == nullptr) Unrecognized();
  return info->Charset;
}

TLanguageFace LanguageFace(TQnlkLanguage Language) {
  const TLanguageInfo* info = Info(Language);
  if (info == nullptr || info->Face == nullptr) Unrecognized();
  return TLanguageFace{info->Face, info->MinSize};
}

std::string LanguageBitmapName(TQnlkLanguage Language) {
  const TLanguageInfo* info = Info(Language);
  return info != nullptr ? info->Bitmap : "";
}

std::string LanguageFileName(TQnlkLanguage Language) {
  const TLanguageInfo* info = Info(Language);
  return info != nullptr ? info->File : "";
}

}  // namespace setup
