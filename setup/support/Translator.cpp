#include "Translator.h"

#include <windows.h>

#include <iterator>

#include "Errors.h"
#include "TranslatorHooks.h"
#include "core/ClassDef.h"

namespace setup {

using namespace fw;

namespace {

TTranslator* gGlobalTranslator = nullptr;
TTranslator* gAutoTranslator = nullptr;

// The hooks through which the rest of the program reaches the global translator.
std::string HookEnglishText(const std::string& Text) {
  return gGlobalTranslator != nullptr ? gGlobalTranslator->TranslateText(qlEnglish, Text) : Text;
}

void HookApplyFont(TControl* Control) {
  if (gGlobalTranslator != nullptr) gGlobalTranslator->ApplyFont(Control, false);
}

void HookApplyFontIn(TLanguageOrdinal Target, TControl* Control) {
  if (gGlobalTranslator != nullptr) gGlobalTranslator->ApplyFontIn(static_cast<TQnlkLanguage>(Target), Control, false);
}

TLanguageOrdinal HookTranslateTree(TLanguageOrdinal Source, TComponent* Component) {
  if (gGlobalTranslator == nullptr) return Source;
  return static_cast<TLanguageOrdinal>(
      gGlobalTranslator->TranslateComponent(static_cast<TQnlkLanguage>(Source), Component));
}

TLanguageOrdinal HookTranslateTreeInto(TLanguageOrdinal Source, TLanguageOrdinal Target, TComponent* Component) {
  if (gGlobalTranslator == nullptr) return Source;
  return static_cast<TLanguageOrdinal>(gGlobalTranslator->TranslateComponentInto(
      static_cast<TQnlkLanguage>(Source), static_cast<TQnlkLanguage>(Target), Component));
}

void RegisterHooks() {
  SetEnglishTextHook(&HookEnglishText);
  TTranslatorHooks hooks;
  hooks.ApplyFont = &HookApplyFont;
  hooks.ApplyFontIn = &HookApplyFontIn;
  hooks.TranslateTree = &HookTranslateTree;
  hooks.TranslateTreeInto = &HookTranslateTreeInto;
  SetTranslatorHooks(hooks);
}

void UnregisterHooks() {
  SetEnglishTextHook(nullptr);
  SetTranslatorHooks(TTranslatorHooks{});
}

// The published language properties, in the order of the languages.
const char* const kLanguageProperties[] = {"lgChineseSimplified",
                                           "lgChineseTraditional",
                                           "lgCzech",
                                           "lgDanish",
                                           "lgDutch",
                                           "lgEnglish",
                                           "lgFrench",
                                           "lgGerman",
                                           "lgGreek",
                                           "lgHebrew",
                                           "lgItalian",
                                           "lgJapanese",
                                           "lgKorean",
                                           "lgNorwegianBokmal",
                                           "lgNorwegianNynorsk",
                                           "lgPolish",
                                           "lgPortugese",
                                           "lgRussian",
                                           "lgSpanish",
                                           "lgSwedish",
                                           "lgVietnamese"};

// Every value of TQnlkLanguage that is a language of its own.
std::vector<TQnlkLanguage> OwnLanguages() {
  std::vector<TQnlkLanguage> out;
  for (int i = 0; i <= static_cast<int>(qlVietnamese); ++i)
    if (static_cast<TQnlkLanguage>(i) != qlUser) out.push_back(static_cast<TQnlkLanguage>(i));
  return out;
}

}  // namespace

TTranslator* GlobalTranslator() {
  return gGlobalTranslator;
}
TTranslator* AutoTranslator() {
  return gAutoTranslator;
}
void SetAutoTranslator(TTranslator* Translator) {
  gAutoTranslator = Translator;
}

const TClass& TTranslator::StaticClass() {
  using T = TTranslator;
  static const TClass cls = [] {
    TClassDef<T> def;
    def.Creatable();
    for (int i = 0; i < static_cast<int>(std::size(kLanguageProperties)); ++i)
      def.Object(
          kLanguageProperties[i], [i](const T* t) { return t->GetLanguage(i); },
          [i](T* t, TLanguage* v) { t->GetLanguage(i)->Assign(v); });
    def.Enum("TranslateIntoLanguage", kQnlkLanguageInfo, &T::TranslateIntoLanguage, &T::SetTranslateIntoLanguage);
    return TClass(def);
  }();
  return cls;
}

TTranslator::TTranslator(TComponent* AOwner) : TComponent(AOwner) {
  if (gAutoTranslator != nullptr) {
    TTranslator* replaced = gAutoTranslator;
    gAutoTranslator = nullptr;
    replaced->Free();
  }
  for (TQnlkLanguage ident : OwnLanguages())
    FLanguages.push_back(std::make_unique<TLanguage>(this, LanguageBitmapName(ident), LanguageFileName(ident), ident));
  FTranslateIntoLanguage = qlUser;
  if (gGlobalTranslator == nullptr) {
    gGlobalTranslator = this;
    RegisterHooks();
  }
}

TTranslator::~TTranslator() {
  if (gGlobalTranslator == this) {
    UnregisterHooks();
    gGlobalTranslator = nullptr;
  }
  if (gAutoTranslator == this) gAutoTranslator = nullptr;
}

TLanguage* TTranslator::GetLanguage(int Index) const {
  if (Index < 0 || Index >= LanguageCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return FLanguages[static_cast<size_t>(Index)].get();
}

TLanguage* TTranslator::FindLanguage(TQnlkLanguage Ident) const {
  for (const auto& language : FLanguages)
    if (language->LanguageIdent() == Ident) return language.get();
  return nullptr;
}

TLanguage* TTranslator::UserDefaultLanguage() const {
  try {
    return FindLanguage(LangIdToLanguage(GetUserDefaultLangID()));
  } catch (...) {
    return nullptr;
  }
}

TLanguage* TTranslator::ResolveTarget(bool* FellBack) const {
  TLanguage* target = FTranslateIntoLanguage == qlUser ? UserDefaultLanguage() : FindLanguage(FTranslateIntoLanguage);
  if (FellBack != nullptr) *FellBack = target == nullptr;
  return target != nullptr ? target : FindLanguage(qlEnglish);
}

TLanguage* TTranslator::TargetLanguage() const {
  return ResolveTarget(nullptr);
}

void TTranslator::SetTranslateIntoLanguage(TQnlkLanguage Value) {
  FTranslateIntoLanguage = Value;
  if (OnChange) OnChange(this);
}

std::string TTranslator::TranslateText(TQnlkLanguage Source, const std::string& Text) const {
  TLanguage* source = Source == qlUser ? UserDefaultLanguage() : FindLanguage(Source);
  if (source == nullptr) return Text;
  const TLanguageString* entry = source->FindStringByText(Text);
  if (entry == nullptr) return Text;
  const TLanguageString* translated = TargetLanguage()->FindStringByGLID(entry->GLID());
  return translated != nullptr ? translated->Text() : Text;
}

std::string TTranslator::TranslateGLID(int GLID, const std::string& Default) const {
  const TLanguageString* translated = TargetLanguage()->FindStringByGLID(GLID);
  return translated != nullptr ? translated->Text() : Default;
}

void TTranslator::TranslateMemo(TQnlkLanguage Source, const TStrings& Lines, TStrings& Result) const {
  TLanguage* source = Source == qlUser ? UserDefaultLanguage() : FindLanguage(Source);
  const TLanguageMemo* entry = source != nullptr ? source->FindMemoByText(Lines) : nullptr;
  const TLanguageMemo* translated = entry != nullptr ? TargetLanguage()->FindMemoByGLID(entry->GLID()) : nullptr;
  Result.Assign(translated != nullptr ? &translated->Lines() : &Lines);
}

TQnlkLanguage TTranslator::TranslateComponentInto(TQnlkLanguage Source, TQnlkLanguage Target, TComponent* Component) {
  return WithTarget(Target, [&] { return TranslateComponent(Source, Component); });
}

void TTranslator::ApplyFontIn(TQnlkLanguage Target, TControl* Control, bool Keep) {
  WithTarget(Target, [&] { ApplyFont(Control, Keep); });
}

}  // namespace setup
