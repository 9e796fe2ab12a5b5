#include "MainForm.h"

// windows.h first: the shell's headers need it.
#include <windows.h>
//
#include <shlwapi.h>

#include "archive/QnlkCompress.h"
#include "core/ClassDef.h"
#include "gui/WinHandles.h"
#include "objects/InstallLists.h"
#include "support/Language.h"
#include "support/OSVersion.h"

namespace setup {

using namespace fw;

namespace {

// The word for "remove" in code page 1250: the uninstall shortcut's Polish name.
constexpr char kPolishUninstallName[] = "Usu\xF1";

TQnlkLanguage TargetLanguageIdent() {
  TTranslator* translator = GlobalTranslator();
  return translator != nullptr ? translator->TargetLanguage()->LanguageIdent() : qlEnglish;
}

// The part of a locale value's name that names the program: what follows the last "\".
std::string ProgramPart(const std::string& Ident) {
  size_t slash = Ident.find_last_of('\\');
  return slash == std::string::npos ? Ident : Ident.substr(slash + 1);
}

}  // namespace

bool IsShFolderDllPresent() {
  UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  TModuleHandle library(LoadLibraryA("SHFOLDER.DLL"));
  SetErrorMode(previous);
  return library.Get() != nullptr;
}

uint32_t CommonControlsVersion() {
  TModuleHandle library(LoadLibraryA("comctl32.dll"));
  if (library.Get() == nullptr) return 4u << 16;
  auto getVersion =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library.Get(), "DllGetVersion")));
  if (getVersion == nullptr) return 4u << 16;
  DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(getVersion(&info))) return 4u << 16;
  return (static_cast<uint32_t>(info.dwMajorVersion) << 16) + static_cast<uint32_t>(info.dwMinorVersion);
}

const TClass& TMain::StaticClass() {
  static const TClass cls = TClassDef<TMain>()
                                .Creatable()
                                .Field("BackDrop", &TMain::BackDrop)
                                .Field("oxLabel1", &TMain::oxLabel1)
                                .Field("ProductLabel", &TMain::ProductLabel)
                                .Field("Label1", &TMain::Label1)
                                .Field("MainInstall", &TMain::MainInstall)
                                .Field("MainTranslator", &TMain::MainTranslator)
                                .Field("NetLocation", &TMain::NetLocation)
                                .Field("InstallCommUpdate", &TMain::InstallCommUpdate)
                                .Field("ShFolderInstallFile", &TMain::ShFolderInstallFile)
                                .Field("Help_US", &TMain::Help_US)
                                .Field("ReadMe_US", &TMain::ReadMe_US)
                                .Field("MainFolder", &TMain::MainFolder)
                                .Field("HelpLink", &TMain::HelpLink)
                                .Field("ReadmeLink", &TMain::ReadmeLink)
                                .Field("UrlLink", &TMain::UrlLink)
                                .Field("UnInstallLink", &TMain::UnInstallLink)
                                .Field("InstallRegistry", &TMain::InstallRegistry)
                                .Method("MainInstallAfterInitialized", &TMain::MainInstallAfterInitialized)
                                .Method("MainInstallBeforeInstallObjects", &TMain::MainInstallBeforeInstallObjects)
                                .Method("HelpLinkBeforeProcess", &TMain::HelpLinkBeforeProcess)
                                .Method("ReadmeLinkBeforeProcess", &TMain::ReadmeLinkBeforeProcess)
                                .Method("UrlLinkBeforeProcess", &TMain::UrlLinkBeforeProcess)
                                .Method("UnInstallLinkBeforeProcess", &TMain::UnInstallLinkBeforeProcess)
                                .Method("InstallRegistryBeforeWriteEntry", &TMain::InstallRegistryBeforeWriteEntry)
                                .Method("FormShow", &TMain::FormShow);
  return cls;
}

void TMain::MainInstallAfterInitialized(TObject*) {
  TWindowsVersion version;
  bool newNT = QueryWindowsVersion(version) && version.Platform == VER_PLATFORM_WIN32_NT && version.Major > 4;
  if (newNT || Probes.ShFolderDllPresent()) ShFolderInstallFile->SetRunAfterInstall(false);
  InstallCommUpdate->SetInclude(Probes.CommonControlsVersion() < kCommonControlsWithoutUpdate);
  InstallCommUpdate->SetRunParameters("/Q");
}

void TMain::MainInstallBeforeInstallObjects(TInstallContainer*) {}

void TMain::HelpLinkBeforeProcess(TInstallContainer*) {
  if (TargetLanguageIdent() != qlEnglish) return;
  HelpLink->SetObjectLink(Help_US);
  HelpLink->SetLinkName("Help.LNK");
}

void TMain::ReadmeLinkBeforeProcess(TInstallContainer*) {
  if (TargetLanguageIdent() == qlEnglish) ReadmeLink->SetObjectLink(ReadMe_US);
}

void TMain::UrlLinkBeforeProcess(TInstallContainer*) {
  const std::string site = TargetLanguageIdent() == qlPolish ? kPolishSite : kInternationalSite;
  UrlLink->SetObjectLocation("http://" + site + "/");
  UrlLink->SetLinkName(site + ".URL");
}

void TMain::UnInstallLinkBeforeProcess(TInstallContainer*) {
  if (TargetLanguageIdent() == qlPolish) UnInstallLink->SetLinkName(kPolishUninstallName);
}

void TMain::InstallRegistryBeforeWriteEntry(TCustomInstallRegistry*, TRegistryEntry* Entry, bool&) {
  // Named from the program's own part, so an entry written twice keeps one path.
  Entry->SetIdent(MainInstall->GetFullDestDir() + "\\" + ProgramPart(Entry->Ident()));
  switch (TargetLanguageIdent()) {
    case qlEnglish:
      Entry->SetValueText("");
      break;
    case qlGerman:
      Entry->SetValueText("DE");
      break;
    case qlPolish:
      Entry->SetValueText("PL");
      break;
    default:
      break;
  }
}

void TMain::FormShow(TObject*) {
  SetWidth(0);
  SetHeight(0);
}

TLibrary AppLibrary() {
  return {"setup application",
          [] {
            RegisterClasses({&TMain::StaticClass()});
            // Long archive work keeps the windows answering.
            SharedArchive()->SetIdleHandler([] { Application->ProcessMessages(); });
          },
          // The forms go while the libraries they use still run.
          [] { Application->DestroyComponents(); }};
}

}  // namespace setup
