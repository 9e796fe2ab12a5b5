#include "Language.h"

#include <windows.h>

#include "core/ClassDef.h"

namespace setup {

using namespace fw;

namespace {

// Holds a language's parsing back; the flag is back as it was afterwards, also when
// the held-back step fails.
class TAutoParseOff {
 public:
  explicit TAutoParseOff(TLanguage& Language) : FLanguage(Language), FWas(Language.AutoParse()) {
    Language.SetAutoParse(false);
  }
  ~TAutoParseOff() { FLanguage.SetAutoParse(FWas); }
  TAutoParseOff(const TAutoParseOff&) = delete;
  TAutoParseOff& operator=(const TAutoParseOff&) = delete;

 private:
  TLanguage& FLanguage;
  bool FWas;
};

// Windows' comparison ignoring case, in the default locale.
bool SameTableText(const std::string& A, const std::string& B) {
  return CompareStringA(0, NORM_IGNORECASE, A.data(), static_cast<int>(A.size()), B.data(),
                        static_cast<int>(B.size())) == CSTR_EQUAL;
}

}  // namespace

// --- TLangFormatStrings ----------------------------------------------------

const TClass& TLangFormatStrings::StaticClass() {
  static const TClass cls = TClassDef<TLangFormatStrings>();
  return cls;
}

void TLangFormatStrings::Changed() {
  TStringList::Changed();
  if (UpdateCount() == 0 && FLanguage->AutoParse()) FLanguage->ParseStrings();
}

void TLangFormatStrings::Assign(const TPersistent* Source) {
  {
    TAutoParseOff off(*FLanguage);
    TStringList::Assign(Source);
  }
  FLanguage->ParseStrings();
}

void TLangFormatStrings::LoadFromFile(const std::string& FileName) {
  {
    TAutoParseOff off(*FLanguage);
    TStringList::LoadFromFile(FileName);
  }
  FLanguage->ParseStrings();
}

// --- TLanguage -------------------------------------------------------------

const TClass& TLanguage::StaticClass() {
  using T = TLanguage;
  static const TClass cls =
      TClassDef<T>()
          .Object(
              "Font", [](const T* t) { return &t->Font(); }, [](T* t, TFont* v) { t->SetFont(v); })
          .Boolean("FontOverride", &T::FontOverride, &T::SetFontOverride)
          .Enum("LanguageIdent", kQnlkLanguageInfo, &T::LanguageIdent)
          .Object(
              "Strings", [](const T* t) -> const TStrings* { return &t->Strings(); },
              [](T* t, TStrings* v) { t->SetStrings(v); });
  return cls;
}

TLanguage::TLanguage(TTranslator* Translator, std::string BitmapName, std::string FileName, TQnlkLanguage Ident)
    : FTranslator(Translator), FBitmapName(std::move(BitmapName)), FFileName(std::move(FileName)), FIdent(Ident) {}

void TLanguage::ParseStrings() {
  try {
    FEntries = ParseLanguageTable(FStrings, this);
  } catch (...) {
    ClearEntries();
    throw;
  }
}

void TLanguage::ClearEntries() {
  FEntries.Strings.clear();
  FEntries.Memos.clear();
}

const TLanguageString* TLanguage::FindStringByGLID(int GLID) const {
  for (const auto& entry : FEntries.Strings)
    if (entry->GLID() == GLID) return entry.get();
  return nullptr;
}

const TLanguageMemo* TLanguage::FindMemoByGLID(int GLID) const {
  for (const auto& entry : FEntries.Memos)
    if (entry->GLID() == GLID) return entry.get();
  return nullptr;
}

const TLanguageString* TLanguage::FindStringByText(const std::string& Text) const {
  for (const auto& entry : FEntries.Strings)
    if (SameTableText(entry->Text(), Text)) return entry.get();
  return nullptr;
}

const TLanguageMemo* TLanguage::FindMemoByText(const TStrings& Lines) const {
  std::string text = Lines.Text();
  for (const auto& entry : FEntries.Memos)
    if (entry->Lines().Text() == text) return entry.get();
  return nullptr;
}

const TLanguageString* TLanguage::GetStringEntry(int Index) const {
  if (Index < 0 || Index >= StringCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return FEntries.Strings[static_cast<size_t>(Index)].get();
}

const TLanguageMemo* TLanguage::GetMemoEntry(int Index) const {
  if (Index < 0 || Index >= MemoCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return FEntries.Memos[static_cast<size_t>(Index)].get();
}

void TLanguage::Assign(const TPersistent* Source) {
  if (const auto* source = dynamic_cast<const TLanguage*>(Source)) {
    if (source == this) return;
    FFont.Assign(&source->FFont);
    FFontOverride = source->FFontOverride;
    FStrings.Assign(&source->FStrings);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace setup
