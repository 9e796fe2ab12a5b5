// One language of the translator: its font, its raw table lines and the entries
// parsed from them.
#pragma once

#include <string>

#include "LanguageIds.h"
#include "LanguageTable.h"
#include "gui/Graphics.h"

namespace setup {

class TLanguage;
class TTranslator;

// The raw lines of a language's table. Whenever they change, the language's entries
// are parsed again (while its auto-parse flag is on); a batch of changes inside
// BeginUpdate/EndUpdate is parsed once at its end.
class TLangFormatStrings : public fw::TStringList {
  FW_CLASS(TLangFormatStrings, fw::TStringList)
 public:
  explicit TLangFormatStrings(TLanguage* Language) : FLanguage(Language) {}
  TLanguage* Language() const { return FLanguage; }

  // Both copy the lines with parsing held back, then parse once.
  void Assign(const fw::TPersistent* Source) override;
  void LoadFromFile(const std::string& FileName) override;

 protected:
  void Changed() override;

 private:
  TLanguage* FLanguage;
};

class TLanguage : public fw::TPersistent {
  FW_CLASS(TLanguage, fw::TPersistent)
 public:
  TLanguage(TTranslator* Translator, std::string BitmapName, std::string FileName, TQnlkLanguage Ident);

  TTranslator* Translator() const { return FTranslator; }
  TQnlkLanguage LanguageIdent() const { return FIdent; }
  const std::string& BitmapName() const { return FBitmapName; }
  const std::string& FileName() const { return FFileName; }

  fw::TFont& Font() { return FFont; }
  const fw::TFont& Font() const { return FFont; }
  void SetFont(const fw::TFont* Value) { FFont.Assign(Value); }
  // On: controls get a copy of Font instead of the language's charset and face.
  bool FontOverride() const { return FFontOverride; }
  void SetFontOverride(bool Value) { FFontOverride = Value; }
  TLangFormatStrings& Strings() { return FStrings; }
  const TLangFormatStrings& Strings() const { return FStrings; }
  void SetStrings(const fw::TStrings* Value) { FStrings.Assign(Value); }
  bool AutoParse() const { return FAutoParse; }
  void SetAutoParse(bool Value) { FAutoParse = Value; }

  // Rebuilds the entries from Strings; on a format error the language is left
  // without entries and the error propagates.
  void ParseStrings();
  void ClearEntries();

  // The first entry with that GLID, or nil.
  const TLanguageString* FindStringByGLID(int GLID) const;
  const TLanguageMemo* FindMemoByGLID(int GLID) const;
  // The first string entry whose text equals Text, ignoring case as Windows compares.
  const TLanguageString* FindStringByText(const std::string& Text) const;
  // The first memo whose lines, as one text, equal Lines exactly.
  const TLanguageMemo* FindMemoByText(const fw::TStrings& Lines) const;
  int StringCount() const { return static_cast<int>(FEntries.Strings.size()); }
  int MemoCount() const { return static_cast<int>(FEntries.Memos.size()); }
  const TLanguageString* GetStringEntry(int Index) const;
  const TLanguageMemo* GetMemoEntry(int Index) const;

  // Copies the font, the override flag and the lines of another language.
  void Assign(const fw::TPersistent* Source) override;

 private:
  TTranslator* FTranslator;
  std::string FBitmapName;
  std::string FFileName;
  TQnlkLanguage FIdent;
  fw::TFont FFont;
  bool FFontOverride = false;
  bool FAutoParse = true;
  TLanguageEntries FEntries;
  TLangFormatStrings FStrings{this};
};

}  // namespace setup
