// The translator: one string table per language. English texts are found by their
// wording in a source language's table and replaced by the target language's text of
// the same GLID; controls that name a GLID are translated by it directly.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Language.h"
#include "core/Classes.h"
#include "core/Events.h"

namespace fw {
class TControl;
}

namespace setup {

class TTranslator : public fw::TComponent {
  FW_CLASS(TTranslator, fw::TComponent)
 public:
  // Replaces an AutoTranslator; the first translator becomes the GlobalTranslator.
  explicit TTranslator(fw::TComponent* AOwner);
  ~TTranslator() override;

  // The 21 languages, in the order of TQnlkLanguage without qlUser.
  int LanguageCount() const { return static_cast<int>(FLanguages.size()); }
  TLanguage* GetLanguage(int Index) const;
  // The language with that ident, or nil.
  TLanguage* FindLanguage(TQnlkLanguage Ident) const;
  // The language of the user's default LANGID, nil on any error.
  TLanguage* UserDefaultLanguage() const;
  // The language to translate into: the user's for qlUser. A target that cannot be
  // resolved falls back to English.
  TLanguage* TargetLanguage() const;

  TQnlkLanguage TranslateIntoLanguage() const { return FTranslateIntoLanguage; }
  // Sets the target language, then fires OnChange.
  void SetTranslateIntoLanguage(TQnlkLanguage Value);

  // Text, or the target language's text for the GLID that Text has in Source.
  std::string TranslateText(TQnlkLanguage Source, const std::string& Text) const;
  // The target language's text for GLID, or Default.
  std::string TranslateGLID(int GLID, const std::string& Default) const;
  // Result := Lines, or the target language's memo for the GLID of the memo that
  // Lines are in Source.
  void TranslateMemo(TQnlkLanguage Source, const fw::TStrings& Lines, fw::TStrings& Result) const;

  // Translates the texts of Component and of everything it owns (forms excepted) from
  // Source into the target language; returns the language they are in afterwards.
  TQnlkLanguage TranslateComponent(TQnlkLanguage Source, fw::TComponent* Component);
  // The same into Target; the target language is back as it was afterwards.
  TQnlkLanguage TranslateComponentInto(TQnlkLanguage Source, TQnlkLanguage Target, fw::TComponent* Component);
  // The target language's font on Control and its children. An empty target table
  // means English unless Keep is set.
  void ApplyFont(fw::TControl* Control, bool Keep);
  void ApplyFontIn(TQnlkLanguage Target, fw::TControl* Control, bool Keep);

  // Fired after TranslateIntoLanguage is set.
  fw::TNotifyEvent OnChange;

 private:
  // Runs Step with another target language, without firing OnChange; the target is
  // back as it was afterwards, also when Step fails.
  template <class F>
  auto WithTarget(TQnlkLanguage Target, F&& Step) {
    struct TRestore {
      TTranslator* Translator;
      TQnlkLanguage Was;
      ~TRestore() { Translator->FTranslateIntoLanguage = Was; }
    } restore{this, FTranslateIntoLanguage};
    FTranslateIntoLanguage = Target;
    return Step();
  }
  // The target language and whether it stands in for one that could not be resolved.
  TLanguage* ResolveTarget(bool* FellBack) const;

  std::vector<std::unique_ptr<TLanguage>> FLanguages;
  TQnlkLanguage FTranslateIntoLanguage = qlUser;
};

// The first translator created, until it is destroyed; nil before.
TTranslator* GlobalTranslator();
// A translator that the engine makes for a main form that has none; a translator
// created later replaces it.
TTranslator* AutoTranslator();
void SetAutoTranslator(TTranslator* Translator);

}  // namespace setup
