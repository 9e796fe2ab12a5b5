#include "UninstallEXE.h"

#include <windows.h>

#include "FileContainer.h"
#include "InstallEngine.h"
#include "InstallFileProperties.h"
#include "UninstallFileLog.h"
#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "gui/GuiStartup.h"
#include "support/Registry.h"

namespace setup {

namespace {

std::string Trimmed(const std::string& Text) {
  size_t first = Text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  size_t last = Text.find_last_not_of(" \t\r\n");
  return Text.substr(first, last - first + 1);
}

// The folder of the module that holds this code.
std::string ModuleFolder() {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(fw::ModuleInstance(), buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string path(buffer, length);
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

// --- TControlPanelExtensionInformation -------------------------------------------------

const fw::TClass& TControlPanelExtensionInformation::StaticClass() {
  using T = TControlPanelExtensionInformation;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .String("Comments", &T::Comments, &T::SetComments)
                                    .String("Contact", &T::Contact, &T::SetContact)
                                    .Component("DisplayIcon", &T::DisplayIcon, &T::SetDisplayIcon)
                                    .String("HelpLink", &T::HelpLink, &T::SetHelpLink)
                                    .String("HelpTelephone", &T::HelpTelephone, &T::SetHelpTelephone)
                                    .String("ProductID", &T::ProductID, &T::SetProductID)
                                    .Component("ReadMe", &T::ReadMe, &T::SetReadMe)
                                    .String("URLInfoAbout", &T::URLInfoAbout, &T::SetURLInfoAbout)
                                    .String("URLUpdateInfo", &T::URLUpdateInfo, &T::SetURLUpdateInfo);
  return cls;
}

void TControlPanelExtensionInformation::RemoveReference(const fw::TComponent* Obj) {
  if (Obj == nullptr) return;
  if (FDisplayIcon == Obj) FDisplayIcon = nullptr;
  if (FReadMe == Obj) FReadMe = nullptr;
}

void TControlPanelExtensionInformation::Assign(const fw::TPersistent* Source) {
  if (auto* other = dynamic_cast<const TControlPanelExtensionInformation*>(Source)) {
    *this = *other;
    return;
  }
  fw::TPersistent::Assign(Source);
}

// --- TUninstallEXE ---------------------------------------------------------------------

namespace {

const fw::TEnumInfo& InstallFileStateInfo() {
  static const fw::TEnumInfo info{"TInstallFileState",
                                  {"ifsNone", "ifsCompress", "ifsInstall", "ifsCopying", "ifsReflect"}};
  return info;
}

}  // namespace

// Published as an installed file is, with its place among the tree's objects and its state
// besides. The state is an operation, never stored configuration: a stored one is ignored
// while the form loads, where it would compress or install a half-read tree.
const fw::TClass& TUninstallEXE::StaticClass() {
  using T = TUninstallEXE;
  static const fw::TClass cls =
      PublishInstallFileProperties(fw::TClassDef<T>().Creatable())
          .Integer("Order", &T::Order, &T::SetOrder)
          .Enum("State", InstallFileStateInfo(), &T::State, [](T* File, TInstallFileState Value) {
            if (!File->IsLoading()) File->SetState(Value);
          });
  return cls;
}

TUninstallEXE::TUninstallEXE(fw::TComponent* AOwner) : TCustomInstallFile(AOwner) {
  SetNet(true);
  if (!IsDesignTime(this)) return;
  try {
    const std::string folder = ModuleFolder();
    if (!folder.empty() && FileExists(folder + "\\" + kUninstallerFileName)) {
      SetIncludeFromDir(folder);
      SetFileName(kUninstallerFileName);
      SetDestName(kUninstallerFileName);
    }
  } catch (const std::exception&) {
    // The preset is a convenience: the designer sets the file by hand.
  }
}

TUninstallEXE::~TUninstallEXE() {
  if (TInstallEngine* engine = GlobalInstall()) engine->EngineUninstallerRemoved();
}

std::string TUninstallEXE::UninstallCommand(const std::string& ProductName) const {
  std::string command(1, '"');
  command.append(GetFullDestDir()).append("\\").append(DestName());
  command.append("\" ").append(Trimmed(ProductName));
  return command;
}

void TUninstallEXE::WriteUninstallInfo(const std::string& Key) {
  TInstallEngine* engine = GlobalInstall();
  if (engine == nullptr)
    throw IEUninstallEXE(
        "%s could not write information about the uninstall to the registry because there was no TInstall "
        "component",
        Name());
  // The program is logged like any installed file: an installation into another folder
  // leaves the earlier folder's program to the uninstaller's log as well.
  TCustomInstallFile::WriteUninstallInfo(Key);
  const TInstallInformation& product = engine->EngineInformation();
  auto* source = dynamic_cast<IAddRemoveInformationSource*>(engine);
  const TControlPanelExtensionInformation none;
  const TControlPanelExtensionInformation& extended = source != nullptr ? source->EngineExtendedInformation() : none;
  const TRegistrationInformation noRegistration;
  const TRegistrationInformation& registration =
      source != nullptr ? source->EngineRegistrationInformation() : noRegistration;

  auto write = [&](const char* Name, const std::string& Value) { WriteRegString(hkLocalMachine, Key, Name, Value); };
  auto writeSet = [&](const char* Name, const std::string& Value) {
    if (!Value.empty()) write(Name, Value);
  };
  auto installedPath = [](const TCustomInstallFile* File) {
    return File != nullptr && File->Done() ? File->GetDestFileName() : std::string();
  };
  write("DisplayName", Trimmed(product.ProductName()));
  write("UninstallString", UninstallCommand(product.ProductName()));
  writeSet("Comments", extended.Comments());
  writeSet("Contact", extended.Contact());
  writeSet("DisplayIcon", installedPath(extended.DisplayIcon()));
  writeSet("DisplayVersion", product.Version());
  writeSet("HelpLink", extended.HelpLink());
  writeSet("HelpTelephone", extended.HelpTelephone());
  writeSet("Publisher", product.CompanyName());
  writeSet("ProductID", extended.ProductID());
  writeSet("Readme", installedPath(extended.ReadMe()));
  writeSet("URLInfoAbout", extended.URLInfoAbout());
  writeSet("URLUpdateInfo", extended.URLUpdateInfo());
  writeSet("RegCompany", registration.RegCompany());
  writeSet("RegOwner", registration.RegOwner());
}

}  // namespace setup
