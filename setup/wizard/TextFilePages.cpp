#include "TextFilePages.h"

#include <windows.h>

#include "core/ClassDef.h"
#include "support/Language.h"
#include "support/Translator.h"

namespace setup {

std::string TextFileLanguageSuffix() {
  TTranslator* translator = GlobalTranslator();
  TLanguage* target = translator != nullptr ? translator->TargetLanguage() : nullptr;
  if (target == nullptr) return "ENG";
  switch (target->LanguageIdent()) {
    case qlGerman:
      return "DE";
    case qlPolish:
      return "PL";
    default:
      return "ENG";
  }
}

std::string TextFilePath(const std::string& Folder, const std::string& BaseName) {
  std::string path = Folder + BaseName + TextFileLanguageSuffix();
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
  return Folder + BaseName + "ENG";
}

std::string ProgramFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

// --- TTextFilePage -------------------------------------------------------------------

const fw::TClass& TTextFilePage::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TTextFilePage>();
  return cls;
}

TTextFilePage::TTextFilePage(fw::TComponent* AOwner, int AOrder, std::string BaseName)
    : TWizardPage(AOwner, dmBeforeInstall, AOrder), FBaseName(std::move(BaseName)) {}

void TTextFilePage::UpdateControls() {
  if (fw::TRichEdit* box = TextBox()) box->Lines().LoadFromFile(TextFilePath(ProgramFolder(), FBaseName));
  TWizardPage::UpdateControls();
}

// --- the two pages -------------------------------------------------------------------

const fw::TClass& TLicenseForm::StaticClass() {
  using T = TLicenseForm;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Field("Label1", &T::Label1)
                                    .Field("Label2", &T::Label2)
                                    .Field("Agreement", &T::Agreement);
  return cls;
}

TLicenseForm::TLicenseForm(fw::TComponent* AOwner) : TTextFilePage(AOwner, 20, "Licence.") {}

const fw::TClass& TReadmeForm::StaticClass() {
  using T = TReadmeForm;
  static const fw::TClass cls =
      fw::TClassDef<T>().Creatable().Field("Label1", &T::Label1).Field("Information", &T::Information);
  return cls;
}

TReadmeForm::TReadmeForm(fw::TComponent* AOwner) : TTextFilePage(AOwner, 30, "Readme.") {}

}  // namespace setup
