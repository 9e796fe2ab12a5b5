// The licence and readme pages: each shows a text file that stands beside the setup
// program, in the translator's target language ("Licence.DE", "Readme.PL", ...), or the
// English file when there is none in that language.
#pragma once

#include <string>

#include "WizardPage.h"
#include "gui/ComCtrls.h"

namespace setup {

// The suffix of the text files for the translator's target language: "DE", "PL" or
// "ENG" (for every other language, and without a translator).
std::string TextFileLanguageSuffix();
// The file for BaseName ("Licence." or "Readme.") in Folder (with its trailing "\"): the
// target language's when it exists, else the English one.
std::string TextFilePath(const std::string& Folder, const std::string& BaseName);
// The folder of the running program, with its trailing "\".
std::string ProgramFolder();

class TTextFilePage : public TWizardPage {
  FW_CLASS(TTextFilePage, TWizardPage)
 public:
  TTextFilePage(fw::TComponent* AOwner, int AOrder, std::string BaseName);
  // Reads the file anew (a missing English file raises the file-open error), then the
  // common refresh.
  void UpdateControls() override;

 protected:
  virtual fw::TRichEdit* TextBox() const = 0;

 private:
  std::string FBaseName;
};

class TLicenseForm : public TTextFilePage {
  FW_CLASS(TLicenseForm, TTextFilePage)
 public:
  explicit TLicenseForm(fw::TComponent* AOwner);
  TTranslateLabel* Label1 = nullptr;
  TTranslateLabel* Label2 = nullptr;
  fw::TRichEdit* Agreement = nullptr;

 protected:
  fw::TRichEdit* TextBox() const override { return Agreement; }
};

class TReadmeForm : public TTextFilePage {
  FW_CLASS(TReadmeForm, TTextFilePage)
 public:
  explicit TReadmeForm(fw::TComponent* AOwner);
  TTranslateLabel* Label1 = nullptr;
  fw::TRichEdit* Information = nullptr;

 protected:
  fw::TRichEdit* TextBox() const override { return Information; }
};

}  // namespace setup
