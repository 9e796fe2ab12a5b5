#include <gtest/gtest.h>

#include <algorithm>

#include "core/FormReader.h"
#include "objects/BaseQuenlarkForm.h"
#include "objects/GroupDialogOptions.h"
#include "objects/InstallLists.h"

using namespace setup;

namespace {

bool Listed(const fw::TComponent* Form) {
  auto* forms = InstallerForms();
  return std::find(forms->begin(), forms->end(), Form) != forms->end();
}

struct TTranslationLog {
  static inline std::vector<std::string> Calls;
};

TEST(InstallerForms, JoinTheListAndTranslateThroughTheHooks) {
  TTranslatorHooks hooks;
  hooks.ApplyFont = [](fw::TControl*) { TTranslationLog::Calls.push_back("font"); };
  hooks.ApplyFontIn = [](TLanguageOrdinal Target, fw::TControl*) {
    TTranslationLog::Calls.push_back("font in " + std::to_string(Target));
  };
  hooks.TranslateTree = [](TLanguageOrdinal Source, fw::TComponent*) {
    TTranslationLog::Calls.push_back("text from " + std::to_string(Source));
    return 15;
  };
  hooks.TranslateTreeInto = [](TLanguageOrdinal Source, TLanguageOrdinal Target, fw::TComponent*) {
    TTranslationLog::Calls.push_back("text from " + std::to_string(Source) + " into " + std::to_string(Target));
    return Target;
  };
  TTranslatorHooks previous = SetTranslatorHooks(hooks);
  {
    fw::TOwnedPtr<TBaseQuenlarkForm> form(new TBaseQuenlarkForm(nullptr));
    EXPECT_TRUE(Listed(form.get()));
    EXPECT_EQ(form->Font().Charset(), 0);
    EXPECT_EQ(form->ShownLanguage, kLanguageEnglish);
    form->LanguageChanged();
    EXPECT_EQ(form->ShownLanguage, 15);
    form->UseOwnLanguage = true;
    form->OwnLanguage = 7;
    form->LanguageChanged();
    EXPECT_EQ(form->ShownLanguage, 7);
    form->TranslateFont = false;
    form->TranslateTexts = false;
    form->LanguageChanged();
    EXPECT_EQ(TTranslationLog::Calls,
              (std::vector<std::string>{"font", "text from 5", "font in 7", "text from 15 into 7"}));
    form.reset();
    EXPECT_FALSE(std::any_of(InstallerForms()->begin(), InstallerForms()->end(),
                             [](fw::TComponent* c) { return dynamic_cast<TBaseQuenlarkForm*>(c) != nullptr; }));
  }
  SetTranslatorHooks(previous);
}

TEST(GroupDialogOptions, AssignCopiesAndTheDescriptionLoadsFromAForm) {
  TInstallGroupDialogOptions options;
  EXPECT_TRUE(options.AllowChangeDir() && options.AllowExcludeInclude() && options.DisplayDirectory() &&
              options.ShowRegardlessOfInclude());
  options.SetAllowChangeDir(false);
  options.Description()->Add("Program files");
  TInstallGroupDialogOptions copy;
  copy.Assign(&options);
  EXPECT_FALSE(copy.AllowChangeDir());
  EXPECT_EQ(copy.Description()->ToVector(), (std::vector<std::string>{"Program files"}));
  options.Description()->Add("more");
  EXPECT_EQ(copy.Description()->Count(), 1);  // a copy, not a share
  const fw::TPropInfo* description = TInstallGroupDialogOptions::StaticClass().FindProperty("Description");
  ASSERT_NE(description, nullptr);
  description->SetList(&copy, {"one", "two"});
  EXPECT_EQ(copy.Description()->Text(), "one\r\ntwo\r\n");
  EXPECT_THROW(copy.Assign(nullptr), fw::EConvertError);
}

}  // namespace
