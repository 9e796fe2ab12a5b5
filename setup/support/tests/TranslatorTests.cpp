// The translator: look-ups between languages, the global hooks, languages of the
// user, fonts, and the translation of a whole form.
#include <gtest/gtest.h>

#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/ListCtrls.h"
#include "support/Errors.h"
#include "support/LanguageFont.h"
#include "support/Translator.h"
#include "support/TranslatorControls.h"
#include "support/TranslatorHooks.h"

using namespace setup;
using fw::TOwnedPtr;

namespace {

const std::vector<std::string> kEnglish = {"* Buttons",
                                           "4;< Previous",
                                           "6;Cancel",
                                           "9;Welcome",
                                           "10;This program will install the software on your computer.",
                                           "45;Please insert disk number %d",
                                           "53;Yes, I would like to reboot windows",
                                           "104;Cancel",
                                           "#20;",
                                           "Line one",
                                           "Line two",
                                           "#"};
const std::vector<std::string> kGerman = {
    "4;< Zurück",         "6;Abbrechen", "9;Willkommen", "45;Bitte Diskette %d einlegen",
    "53;Ja, neu starten", "#20;",        "Zeile eins",   "#"};

class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GlobalTranslator(), nullptr);
    translator.reset(new TTranslator(nullptr));
    English().Strings().SetVector(kEnglish);
    German().Strings().SetVector(kGerman);
    translator->SetTranslateIntoLanguage(qlGerman);
  }
  TLanguage& English() { return *translator->FindLanguage(qlEnglish); }
  TLanguage& German() { return *translator->FindLanguage(qlGerman); }

  TOwnedPtr<TTranslator> translator;
};

TEST_F(TranslatorTest, TextsAreFoundByTheirWordingAndReplacedByTheTargetsText) {
  EXPECT_EQ(translator->TranslateText(qlEnglish, "welcome"), "Willkommen");
  // "Cancel" is GLID 6 and 104; the first one counts.
  EXPECT_EQ(translator->TranslateText(qlEnglish, "CANCEL"), "Abbrechen");
  // No German text for GLID 10, no English entry at all, no such source language.
  EXPECT_EQ(translator->TranslateText(qlEnglish, "This program will install the software on your computer."),
            "This program will install the software on your computer.");
  EXPECT_EQ(translator->TranslateText(qlEnglish, "Unknown"), "Unknown");
  EXPECT_EQ(translator->TranslateText(static_cast<TQnlkLanguage>(40), "Welcome"), "Welcome");
  // Back from German into English.
  translator->SetTranslateIntoLanguage(qlEnglish);
  EXPECT_EQ(translator->TranslateText(qlGerman, "Willkommen"), "Welcome");
  EXPECT_EQ(translator->TranslateText(qlEnglish, "welcome"), "Welcome");

  EXPECT_EQ(translator->TranslateGLID(4, "default"), "< Previous");
  EXPECT_EQ(translator->TranslateGLID(77, "default"), "default");

  fw::TStringList lines, result;
  lines.SetVector({"Line one", "Line two"});
  translator->SetTranslateIntoLanguage(qlGerman);
  translator->TranslateMemo(qlEnglish, lines, result);
  EXPECT_EQ(result.ToVector(), (std::vector<std::string>{"Zeile eins"}));
  lines.SetVector({"line one", "Line two"});
  translator->TranslateMemo(qlEnglish, lines, result);
  EXPECT_EQ(result.ToVector(), lines.ToVector());
}

TEST_F(TranslatorTest, UserAndUnresolvableTargetsBecomeLanguages) {
  ASSERT_EQ(translator->LanguageCount(), 21);
  EXPECT_EQ(translator->FindLanguage(qlUser), nullptr);
  translator->SetTranslateIntoLanguage(qlUser);
  TQnlkLanguage own = LangIdToLanguage(GetUserDefaultLangID());
  ASSERT_NE(translator->UserDefaultLanguage(), nullptr);
  EXPECT_EQ(translator->UserDefaultLanguage()->LanguageIdent(), own);
  EXPECT_EQ(translator->TargetLanguage()->LanguageIdent(), own);

  // A target without a language falls back to English instead of failing.
  translator->SetTranslateIntoLanguage(static_cast<TQnlkLanguage>(40));
  EXPECT_EQ(translator->TargetLanguage()->LanguageIdent(), qlEnglish);
  EXPECT_EQ(translator->TranslateText(qlGerman, "Willkommen"), "Welcome");
  auto* label = new fw::TLabel(nullptr);
  label->SetCaption("Willkommen");
  TOwnedPtr<fw::TLabel> owned(label);
  EXPECT_EQ(translator->TranslateComponent(qlGerman, label), qlEnglish);
  EXPECT_EQ(label->Caption(), "Welcome");
}

TEST_F(TranslatorTest, TheFirstTranslatorServesTheHooksUntilItIsGone) {
  EXPECT_EQ(GlobalTranslator(), translator.get());
  {
    TOwnedPtr<TTranslator> second(new TTranslator(nullptr));
    EXPECT_EQ(GlobalTranslator(), translator.get());
  }
  EXPECT_EQ(TranslateEnglishText("Welcome"), "Willkommen");
  EXPECT_EQ(IException("welcome").Message(), "Willkommen");
  EXPECT_EQ(IException("Please insert disk number %d", 3).Message(), "Bitte Diskette 3 einlegen");
  auto* label = new fw::TLabel(nullptr);
  TOwnedPtr<fw::TLabel> owned(label);
  label->SetCaption("Cancel");
  label->Font().SetName("Tahoma");
  EXPECT_EQ(TranslateComponentTree(kLanguageEnglish, label), static_cast<int>(qlGerman));
  EXPECT_EQ(label->Caption(), "Abbrechen");
  EXPECT_EQ(TranslateComponentTreeInto(static_cast<int>(qlGerman), kLanguageEnglish, label), kLanguageEnglish);
  EXPECT_EQ(label->Caption(), "Cancel");
  ApplyTranslatorFont(label);
  EXPECT_EQ(label->Font().Name(), "MS Sans Serif");
  ApplyTranslatorFontIn(static_cast<int>(qlRussian), label);  // no Russian table: English
  EXPECT_EQ(label->Font().Name(), "Arial");

  translator.reset();
  EXPECT_EQ(GlobalTranslator(), nullptr);
  EXPECT_EQ(TranslateEnglishText("Welcome"), "Welcome");
  EXPECT_EQ(TranslateComponentTree(kLanguageEnglish, label), kLanguageEnglish);
}

TEST_F(TranslatorTest, ANewTranslatorReplacesTheAutoTranslator) {
  auto* owner = new fw::TComponent(nullptr);
  TOwnedPtr<fw::TComponent> ownerPtr(owner);
  SetAutoTranslator(new TTranslator(owner));
  ASSERT_EQ(owner->ComponentCount(), 1);
  TOwnedPtr<TTranslator> replacement(new TTranslator(owner));
  EXPECT_EQ(AutoTranslator(), nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), replacement.get());
}

TEST_F(TranslatorTest, ChangingTheTargetIsAnnouncedButTemporaryTargetsAreNot) {
  int changes = 0;
  translator->OnChange = [&](fw::TObject*) { ++changes; };
  translator->SetTranslateIntoLanguage(qlEnglish);
  EXPECT_EQ(changes, 1);
  auto* label = new fw::TLabel(nullptr);
  TOwnedPtr<fw::TLabel> owned(label);
  label->SetCaption("Welcome");
  EXPECT_EQ(translator->TranslateComponentInto(qlEnglish, qlGerman, label), qlGerman);
  EXPECT_EQ(label->Caption(), "Willkommen");
  EXPECT_EQ(translator->TranslateIntoLanguage(), qlEnglish);
  EXPECT_EQ(changes, 1);
}

TEST(LanguageIds, UserLanguagesFollowThePrimaryAndSubLanguage) {
  EXPECT_EQ(PrimaryLangId(0x0804), 4);
  EXPECT_EQ(SubLangId(0x0804), 2);
  EXPECT_EQ(LangIdToLanguage(0x0404), qlChineseTraditional);
  EXPECT_EQ(LangIdToLanguage(0x0804), qlChineseSimplified);
  EXPECT_EQ(LangIdToLanguage(0x0C04), qlChineseSimplified);
  EXPECT_EQ(LangIdToLanguage(0x0414), qlNorwegianBokmal);
  EXPECT_EQ(LangIdToLanguage(0x0814), qlNorwegianNynorsk);
  EXPECT_EQ(LangIdToLanguage(0x0409), qlEnglish);
  EXPECT_EQ(LangIdToLanguage(0x0436), qlEnglish);  // Afrikaans has no table of its own
  EXPECT_EQ(LangIdToLanguage(0x0C07), qlGerman);
  EXPECT_EQ(LangIdToLanguage(0x042A), qlVietnamese);
}

// --- fonts -------------------------------------------------------------------

std::string FontError(fw::TControl* Control, const TLanguage& Language) {
  try {
    ApplyLanguageFont(Control, Language);
  } catch (const fw::Exception& e) {
    return e.Message();
  }
  return "no error";
}

TEST(LanguageFonts, LanguagesWithTheirOwnCharsetsSetCharsetFaceAndMinimumSize) {
  struct Case {
    TQnlkLanguage Language;
    int Charset;
    std::string Face;
    int MinSize;
  };
  const std::string chinese = "\xB7\x73\xB2\xD3\xA9\xFA\xC5";
  const Case cases[] = {
      {qlChineseSimplified, 134, chinese, 9},
      {qlChineseTraditional, 136, chinese, 9},
      {qlCzech, 238, "Arial", 8},
      {qlJapanese, 128, "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E", 9},
      {qlKorean, 129, "\xB9\xD9\xC5\xC1", 9},
      {qlPolish, 238, "Arial", 8},
      {qlPortugese, 238, "Arial", 8},
      {qlRussian, 204, "Arial", 8},
      {qlVietnamese, 163, "Arial", 8},
  };
  EXPECT_EQ(chinese.size(), 7u);
  for (const Case& c : cases) {
    SCOPED_TRACE(kQnlkLanguageInfo.Names[static_cast<size_t>(c.Language)]);
    TLanguage language(nullptr, "", "", c.Language);
    TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
    auto* panel = new fw::TWinControl(form.get());  // a windowed child with a child of its own
    panel->SetParent(form.get());
    auto* small = new fw::TLabel(form.get());
    small->SetParent(panel);
    small->Font().SetSize(6);
    auto* large = new fw::TLabel(form.get());
    large->SetParent(form.get());
    large->Font().SetSize(12);
    ApplyLanguageFont(form.get(), language);
    EXPECT_EQ(LanguageCharset(c.Language), c.Charset);
    for (fw::TControl* control : {static_cast<fw::TControl*>(form.get()), static_cast<fw::TControl*>(panel),
                                  static_cast<fw::TControl*>(small), static_cast<fw::TControl*>(large)}) {
      EXPECT_EQ(control->Font().Charset(), c.Charset);
      EXPECT_EQ(control->Font().Name(), c.Face);
    }
    EXPECT_EQ(small->Font().Size(), c.MinSize);
    EXPECT_EQ(large->Font().Size(), 12);
  }
}

TEST(LanguageFonts, OverridesCopyTheFontAndLanguagesWithoutAFaceAreRefused) {
  TOwnedPtr<fw::TLabel> label(new fw::TLabel(nullptr));
  label->Font().SetName("Courier New");
  TLanguage hebrew(nullptr, "", "", qlHebrew);
  EXPECT_EQ(LanguageCharset(qlHebrew), 177);
  EXPECT_EQ(FontError(label.get(), hebrew), "Unrecognized language");
  EXPECT_EQ(label->Font().Name(), "Courier New");
  EXPECT_EQ(label->Font().Charset(), DEFAULT_CHARSET);

  hebrew.SetFontOverride(true);
  hebrew.Font().SetName("David");
  hebrew.Font().SetCharset(177);
  hebrew.Font().SetHeight(-20);
  EXPECT_EQ(FontError(label.get(), hebrew), "no error");
  EXPECT_EQ(label->Font().Name(), "David");
  EXPECT_EQ(label->Font().Height(), -20);

  TLanguage user(nullptr, "", "", qlUser);
  EXPECT_EQ(FontError(label.get(), user), "Unrecognized language");
  EXPECT_THROW(LanguageCharset(qlUser), fw::Exception);
  EXPECT_THROW(LanguageCharset(static_cast<TQnlkLanguage>(22)), fw::Exception);
}

TEST_F(TranslatorTest, AnEmptyTargetTableShowsTheEnglishFontUnlessKept) {
  TOwnedPtr<fw::TLabel> label(new fw::TLabel(nullptr));
  translator->SetTranslateIntoLanguage(qlPolish);
  label->Font().SetName("Tahoma");
  translator->ApplyFont(label.get(), true);
  EXPECT_EQ(label->Font().Charset(), 238);
  translator->ApplyFont(label.get(), false);
  EXPECT_EQ(label->Font().Charset(), 0);
  EXPECT_EQ(label->Font().Name(), "Arial");
  EXPECT_EQ(label->Font().Size(), 8);
  // German has a table here: its own face.
  translator->ApplyFontIn(qlGerman, label.get(), false);
  EXPECT_EQ(label->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(translator->TranslateIntoLanguage(), qlPolish);
  translator->ApplyFont(nullptr, false);
}

// --- whole forms -------------------------------------------------------------

// A component with a published text whose setter fails.
class TBrokenPart : public fw::TComponent {
  FW_CLASS(TBrokenPart, fw::TComponent)
 public:
  using fw::TComponent::TComponent;
  std::string Hint() const { return "Welcome"; }
  void SetHint(const std::string&) { throw fw::Exception("cannot take a new hint"); }
};
const fw::TClass& TBrokenPart::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TBrokenPart>()
                                    .String("Hint", &TBrokenPart::Hint, &TBrokenPart::SetHint);
  return cls;
}

class TPageForm : public fw::TForm {
  FW_CLASS(TPageForm, fw::TForm)
 public:
  using fw::TForm::TForm;
};
const fw::TClass& TPageForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TPageForm>();
  return cls;
}

const char kPage[] = R"(object Welcome: TPageForm
  Caption = 'welcome'
  object Title: TTranslateLabel
    Caption = 'First text'
    GLID = 9
  end
  object ByText: TTranslateLabel
    Caption = 'Cancel'
  end
  object Spacer: TTranslateLabel
    Caption = 'Cancel'
    GLID = -1
  end
  object AbortBtn: TTranslateBitBtn
    Caption = 'Abort'
    GLID = 104
  end
  object HiddenBtn: TBitBtn
    Caption = '< Previous'
    Visible = False
  end
  object Folders: TListBox
    Items.Strings = (
      'Cancel'
      'Startup')
  end
  object RG: TRadioGroup
    Caption = 'Welcome'
    Items.Strings = (
      'Yes, I would like to reboot windows'
      'Maybe')
  end
end
)";

class FormTranslationTest : public TranslatorTest {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    fw::RegisterClasses({&TTranslateLabel::StaticClass(), &TTranslateBitBtn::StaticClass(), &fw::TBitBtn::StaticClass(),
                         &fw::TListBox::StaticClass(), &fw::TRadioGroup::StaticClass()});
    page.reset(new TPageForm(nullptr));
    page->InitFromText(kPage, "TPAGEFORM");
  }
  template <class T>
  T& Part(const char* Name) {
    auto* found = dynamic_cast<T*>(page->FindComponent(Name));
    EXPECT_NE(found, nullptr) << Name;
    return *found;
  }
  TOwnedPtr<TPageForm> page;
};

TEST_F(FormTranslationTest, LabelsButtonsAndListsOfAFormAreTranslated) {
  auto& title = Part<TTranslateLabel>("Title");
  translator->SetTranslateIntoLanguage(qlEnglish);
  EXPECT_EQ(translator->TranslateComponent(qlEnglish, page.get()), qlEnglish);
  EXPECT_EQ(title.Caption(), "Welcome");
  EXPECT_EQ(Part<TTranslateBitBtn>("AbortBtn").Caption(), "Cancel");
  EXPECT_EQ(page->Name(), "Welcome");

  EXPECT_EQ(translator->TranslateComponentInto(qlEnglish, qlGerman, page.get()), qlGerman);
  EXPECT_EQ(page->Caption(), "Willkommen");
  EXPECT_EQ(page->Name(), "Welcome");  // names are never texts
  EXPECT_EQ(title.Caption(), "Willkommen");
  EXPECT_EQ(Part<TTranslateLabel>("ByText").Caption(), "Abbrechen");
  EXPECT_EQ(Part<TTranslateLabel>("Spacer").Caption(), "Cancel");
  EXPECT_EQ(Part<TTranslateBitBtn>("AbortBtn").Caption(), "Cancel");  // German has no GLID 104
  EXPECT_EQ(Part<fw::TBitBtn>("HiddenBtn").Caption(), "< Zurück");
  EXPECT_EQ(Part<fw::TListBox>("Folders").Items().ToVector(), (std::vector<std::string>{"Abbrechen", "Startup"}));
  auto& group = Part<fw::TRadioGroup>("RG");
  EXPECT_EQ(group.Caption(), "Willkommen");
  EXPECT_EQ(group.Items().ToVector(), (std::vector<std::string>{"Ja, neu starten", "Maybe"}));

  // Everything shows as before; labels fit their new texts again.
  EXPECT_TRUE(title.Visible());
  EXPECT_TRUE(title.AutoSize());
  TOwnedPtr<fw::TLabel> fitted(new fw::TLabel(nullptr));
  fitted->SetCaption("Willkommen");
  EXPECT_EQ(title.Width(), fitted->Width());
  EXPECT_TRUE(Part<fw::TListBox>("Folders").Visible());
  EXPECT_FALSE(Part<fw::TBitBtn>("HiddenBtn").Visible());
}

TEST_F(FormTranslationTest, AnEmptyTargetTableLeavesTheFormInItsLanguage) {
  German().Strings().Clear();
  EXPECT_EQ(translator->TranslateComponent(qlEnglish, page.get()), qlEnglish);
  EXPECT_EQ(Part<TTranslateBitBtn>("AbortBtn").Caption(), "Abort");
  EXPECT_EQ(Part<TTranslateLabel>("ByText").Caption(), "Cancel");
}

TEST_F(FormTranslationTest, OwnedFormsAreLeftToTheirOwnTranslation) {
  auto* dialog = new fw::TForm(page.get());
  dialog->SetCaption("Welcome");
  translator->TranslateComponent(qlEnglish, page.get());
  EXPECT_EQ(dialog->Caption(), "Welcome");
}

TEST_F(FormTranslationTest, VisibilityAndAutoSizeComeBackWhenTranslationFails) {
  auto& title = Part<TTranslateLabel>("Title");
  new TBrokenPart(&title);  // owned by the label, translated while the label is hidden
  EXPECT_THROW(translator->TranslateComponent(qlEnglish, page.get()), fw::Exception);
  EXPECT_TRUE(title.Visible());
  EXPECT_TRUE(title.AutoSize());
  translator->SetTranslateIntoLanguage(qlEnglish);
  EXPECT_THROW(translator->TranslateComponentInto(qlEnglish, qlGerman, page.get()), fw::Exception);
  EXPECT_EQ(translator->TranslateIntoLanguage(), qlEnglish);
}

TEST_F(TranslatorTest, AConfigurationFillsTheTablesFromItsDescription) {
  translator.reset();
  fw::RegisterClasses({&TTranslator::StaticClass()});
  TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  form->InitFromText(R"(object Main: TForm
  object MainTranslator: TTranslator
    lgEnglish.Font.Name = 'MS Sans Serif'
    lgEnglish.FontOverride = False
    lgEnglish.Strings.Strings = (
      '* Welcome dialog'
      '9;Welcome'
      '10;This program will install the software on your computer.')
    TranslateIntoLanguage = qlEnglish
  end
end
)",
                     "TFORM");
  auto* loaded = dynamic_cast<TTranslator*>(form->FindComponent("MainTranslator"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(GlobalTranslator(), loaded);
  EXPECT_EQ(loaded->TranslateIntoLanguage(), qlEnglish);
  EXPECT_EQ(loaded->FindLanguage(qlEnglish)->StringCount(), 2);
  EXPECT_EQ(loaded->FindLanguage(qlEnglish)->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(TranslateEnglishText("WELCOME"), "Welcome");
}

}  // namespace
