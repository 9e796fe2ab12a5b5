// The setup program's English table, read from the file that its configuration holds.
#include <gtest/gtest.h>

#include <map>

#include "support/Translator.h"
#include "support/TranslatorControls.h"

using namespace setup;

namespace {

// Every entry that the setup program shows or raises, with its exact wording.
const std::map<int, std::string> kShown = {
    {1, "Software license agreement"},
    {2, "Please read the following License Agreement."},
    {3,
     "By clicking on the Next button below, you agree to all terms stated in the License Agreement. You may "
     "cancel the installation by clicking on the Cancel button."},
    {4, "< Previous"},
    {5, "Next >"},
    {6, "Cancel"},
    {7, "Readme information"},
    {8, "Please read the information below before you install this software on your computer."},
    {9, "Welcome"},
    {10, "This program will install the software on your computer."},
    {11,
     "It is strongly recommended that you exit all Windows programs before running this setup. If you need to "
     "close any programs, click Cancel to quit the setup and then close the programs."},
    {12, "Click Next to continue with the installation."},
    {13, "Copying installation files"},
    {14, "Processing"},
    {15, "File progress"},
    {16, "Total progress"},
    {26, "&Browse"},
    {37, "Setup complete"},
    {38, "The software has been properly installed. You may start the software by clicking on the icon."},
    {40, "Select folder in start menu"},
    {41,
     "Setup will add program icons to the Program Folder listed below. You may type a new folder name, or "
     "select from the E&xisting Folders list."},
    {42, "&Program Folder"},
    {43, "E&xisting Folders"},
    {51, "Reboot windows"},
    {52,
     "Several components could not be installed on your system because they were in use. For the "
     "installation to proceed, you will need to reboot your computer. If you decide not to reboot now, the "
     "software will probably not work until you do reboot."},
    {53, "Yes, I would like to reboot windows"},
    {54, "No, I would not like to reboot windows"},
    {56, "Could not reboot windows. Please manually reboot windows."},
    {60, "This software has not been properly installed and will not work correctly if you try to use it."},
    {61, "Setup incomplete"},
    {72, "Finish"},
    {75, "Reading file information..."},
    {76, "Logging onto remote server"},
    {78, "Installing Borland Database Engine aliases..."},
    {79, "Installing shell links..."},
    {80, "Installing INI files..."},
    {81, "Installing registry keys..."},
    {82, "Installing ODBC core services..."},
    {83, "Installing ODBC drivers..."},
    {84, "Installing ODBC sources..."},
    {85, "Which directory do you want to install this program into?"},
    {86, "To install to the directory displayed below, click Next."},
    {87, "To install to a different directory, click Browse and select another directory."},
    {101,
     "Program can't find Novell Client32. In order to use Stavrel you have to install latest version of "
     "Client software (v2.5 or newer)."},
    {103, "Novell Client32 not found!"},
    {104, "Cancel"},
    // Dialogs of the installer library that this setup does not show.
    {39, "&Finish"},
    {45, "Please insert disk number %d"},
    {49, "Proceed"},
    {55, "&Close"},
    {57, "This will install the Borland Database Engine."},
    {71, "Default"},
};

class EnglishTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    translator.reset(new TTranslator(nullptr));
    English().Strings().LoadFromFile(ENGLISH_STRINGS_FILE);
    translator->SetTranslateIntoLanguage(qlEnglish);
  }
  TLanguage& English() { return *translator->FindLanguage(qlEnglish); }
  fw::TOwnedPtr<TTranslator> translator;
};

TEST_F(EnglishTableTest, HoldsEveryTextWithItsExactWordingOnce) {
  TLanguage& english = English();
  ASSERT_EQ(english.StringCount(), static_cast<int>(kShown.size()));
  EXPECT_EQ(english.MemoCount(), 0);
  for (const auto& [glid, text] : kShown) {
    const TLanguageString* entry = english.FindStringByGLID(glid);
    ASSERT_NE(entry, nullptr) << glid;
    EXPECT_EQ(entry->Text(), text) << glid;
  }
  // Comment lines name the dialogs; every other line is an entry.
  const TLangFormatStrings& lines = english.Strings();
  int comments = 0;
  for (int i = 0; i < lines.Count(); ++i) comments += lines.Get(i).rfind("* ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(comments + english.StringCount(), lines.Count());
  EXPECT_GT(comments, 10);
}

TEST_F(EnglishTableTest, TextsAndGLIDsLookUpThroughIt) {
  EXPECT_EQ(translator->TranslateText(qlEnglish, "welcome"), "Welcome");
  EXPECT_EQ(English().FindStringByText("cancel")->GLID(), 6);
  EXPECT_EQ(translator->TranslateGLID(104, "Abort"), "Cancel");

  // The licence page's Cancel button: named "Abort" in the form.
  fw::TOwnedPtr<TTranslateBitBtn> button(new TTranslateBitBtn(nullptr));
  button->SetGLID(104);
  button->SetCaption("Abort");
  translator->SetTranslateIntoLanguage(qlGerman);  // no German table: the form's caption stays
  EXPECT_EQ(translator->TranslateComponent(qlEnglish, button.get()), qlEnglish);
  EXPECT_EQ(button->Caption(), "Abort");
  translator->SetTranslateIntoLanguage(qlEnglish);
  EXPECT_EQ(translator->TranslateComponent(qlEnglish, button.get()), qlEnglish);
  EXPECT_EQ(button->Caption(), "Cancel");
}

}  // namespace
