#include "ShellLinks.h"

#include <windows.h>
// after windows.h
#include <objidl.h>
#include <shlguid.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>

#include "InstallEngine.h"
#include "InstallFile.h"
#include "InstallGroups.h"
#include "InstallRunJournal.h"
#include "UninstallEXE.h"
#include "UninstallFileLog.h"
#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/WinHandles.h"
#include "paths/ContainerDestDir.h"
#include "paths/LinkMetaVariables.h"
#include "paths/ObjectLinkSpecifier.h"
#include "paths/StandardSpecifiers.h"
#include "support/InstallInformation.h"
#include "support/OSVersion.h"
#include "support/FileHandles.h"
#include "support/PathStrings.h"

#undef CreateHardLink

namespace setup {

namespace {

TMainLinkGroup* gMainLinkGroup = nullptr;
TInstallShellLinkList* gShellLinks = nullptr;
TInstallShellLinkList* gMainLinks = nullptr;

std::string Upper(std::string Text) {
  std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return static_cast<char>(toupper(c)); });
  return Text;
}

std::string Trimmed(const std::string& Text) {
  size_t first = Text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  size_t last = Text.find_last_not_of(" \t\r\n");
  return Text.substr(first, last - first + 1);
}

// The extension of a path's last name, with its dot; empty when it has none.
std::string ExtensionOf(const std::string& Path) {
  size_t dot = Path.find_last_of(".\\:");
  return dot != std::string::npos && Path[dot] == '.' ? Path.substr(dot) : std::string();
}

std::string WithoutExtension(const std::string& Path) {
  return Path.substr(0, Path.size() - ExtensionOf(Path).size());
}

// The folder part of a path, without its final backslash.
std::string FolderOf(const std::string& Path) {
  size_t slash = Path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : Path.substr(0, slash);
}

std::string FileNameOf(const std::string& Path) {
  size_t slash = Path.find_last_of("\\/:");
  return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

std::string Replaced(std::string Text, const char* Invalid) {
  for (char& c : Text)
    if (c != '\0' && strchr(Invalid, c) != nullptr) c = '_';
  return Text;
}

// A link's name may hold a folder below the link's own (backslash) but none of these.
constexpr char kInvalidLinkNameChars[] = "\"*/<>?|";
// A name made from a URL is one file name.
constexpr char kInvalidFileNameChars[] = "\"*/<>?|\\:";

// The name a URL gives its link: what follows the scheme, as one file name.
bool NameFromURL(const std::string& Location, std::string& Name) {
  const std::string upper = Upper(Location);
  for (const char* scheme : {"HTTP://", "FTP://"}) {
    size_t at = upper.find(scheme);
    if (at == std::string::npos) continue;
    Name = Replaced(Location.substr(at + strlen(scheme)), kInvalidFileNameChars) + ".URL";
    return true;
  }
  return false;
}

TCustomPathSpecifier* StandardSpecifier(const fw::TClass& Class) {
  TStandardPathSpecList* list = StandardPathSpecifiers();
  return list != nullptr ? list->Find(Class) : nullptr;
}

// The texts of the COM errors a link may meet.
std::string ComErrorText(HRESULT Result) {
  switch (static_cast<uint32_t>(Result)) {
    case 0x8000FFFFu:
      return TranslateEnglishText("Indicates an unexpected error occurred");
    case 0x80040110u:
      return TranslateEnglishText("Indicates this class cannot be created as part of an aggregate");
    case 0x80040154u:
      return TranslateEnglishText("Indicates that a specified class is not registered in the registration database");
    case 0x8007000Eu:
      return TranslateEnglishText("Out of memory");
    case 0x80070057u:
      return TranslateEnglishText("Indicates one or more arguments are invalid");
    case 0:
      return std::string();
    default:
      return SystemErrorText(static_cast<uint32_t>(Result));
  }
}

// A failing step of writing the link file.
struct TComStepFailed {
  HRESULT Result;
};

void Check(HRESULT Result) {
  if (FAILED(Result)) throw TComStepFailed{Result};
}

}  // namespace

const fw::TEnumInfo& MethodTypeInfo() {
  static const fw::TEnumInfo info{"TMethodType", {"mtAutoDetect", "mtShellLinkInterface"}};
  return info;
}

// --- link groups -------------------------------------------------------------------

const fw::TClass& TCustomShellLinkGroup::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomShellLinkGroup>();
  return cls;
}

TCustomShellLinkGroup::TCustomShellLinkGroup(fw::TComponent* AOwner) : TInstallObject(AOwner, rtLinkGroup) {}

void TCustomShellLinkGroup::Install() {
  BroadcastInformation(this, icLinkGroupInstalls, nullptr);
  const std::string folder = GetFullDestDir();
  if (!MakeFolderOfRun(folder)) throw IEShellLinkGroup("Could not create the folder %s for %s", folder, Name());
  TInstallObject::Install();
}

void TCustomShellLinkGroup::RemoveReference(TInstallContainer* Obj) {
  bool lost = Obj != nullptr && Obj == Container();
  TInstallObject::RemoveReference(Obj);
  if (lost && !ComponentState().Contains(fw::csDestroying)) Free();
}

void TCustomShellLinkGroup::InformationEvent(fw::TObject*, int Code, fw::TObject*) {
  if (Code == icProcessLinkGroup) Process();
}

const fw::TClass& TMainLinkGroup::StaticClass() {
  using T = TMainLinkGroup;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Creatable()
          .Component("Container", &T::Container, &T::SetContainer)
          .String("DestDir", &T::DestDir, &T::SetDestDir)
          .Boolean("Include", &T::Include, &T::SetInclude)
          .Event("OnAfterProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnAfterProcess))
          .Event("OnBeforeProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnBeforeProcess));
  return cls;
}

TMainLinkGroup::TMainLinkGroup(fw::TComponent* AOwner) : TCustomShellLinkGroup(AOwner) {
  if (gMainLinkGroup != nullptr)
    throw IEShellLinkGroup("You can only have one TMainLinkGroup component in your project");
  gMainLinkGroup = this;
  StoreDestDirType(StandardSpecifier(TpsProgramMenu::StaticClass()));
  TInstallEngine* engine = GlobalInstall();
  TInstallContainer::SetDestDir(engine != nullptr ? "\\" + engine->EngineInformation().ProductName()
                                                  : std::string("\\MainFolderName"));
}

TMainLinkGroup::~TMainLinkGroup() {
  if (gMainLinkGroup == this) gMainLinkGroup = nullptr;
}

void TMainLinkGroup::SetDestDirType(TCustomPathSpecifier*) {
  StoreDestDirType(StandardSpecifier(TpsProgramMenu::StaticClass()));
}

void TMainLinkGroup::SetContainer(TInstallContainer* Value) {
  const std::string folder = DestDir();
  TCustomShellLinkGroup::SetContainer(Value);
  TInstallContainer::SetDestDir(folder);
}

TMainLinkGroup* MainLinkGroup() {
  return gMainLinkGroup;
}

// --- shortcuts ---------------------------------------------------------------------

const fw::TClass& TCustomInstallShellLink::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomInstallShellLink>();
  return cls;
}

TCustomInstallShellLink::TCustomInstallShellLink(fw::TComponent* AOwner) : TInstallObject(AOwner, rtShellLink) {
  // Every form with a shortcut has the specifier of shortcut targets.
  if (dynamic_cast<fw::TCustomForm*>(AOwner) != nullptr)
    CreateStandardSpecifier(TpsObjectLink::StaticClass(), AOwner, true);
  if (gShellLinks != nullptr) gShellLinks->Add(this);
}

TCustomInstallShellLink::~TCustomInstallShellLink() {
  if (gShellLinks != nullptr) gShellLinks->Remove(this);
}

void TCustomInstallShellLink::InitCOM() {
  if (FComInitialized) return;
  HRESULT result = CoInitialize(nullptr);
  if (result != S_OK && result != S_FALSE)
    throw IEInstallShellLink("Could not initialize IShellLink with following error code returned: %d",
                             static_cast<int32_t>(result));
  FComInitialized = true;
}

void TCustomInstallShellLink::MakeLinkFolder() {
  const std::string folder = GetFullDestDir();
  if (!MakeFolderOfRun(folder))
    throw IEInstallShellLink("Could not create the folder %s for the link %s", folder, Name());
}

void TCustomInstallShellLink::CreateShellLink() {
  MakeLinkFolder();
  const std::string arguments = ExpandMetaVariables(FParameters, this);
  const std::string target = GetObjectPath();
  const std::string linkFile = GetLinkFileName();
  // COM is this call's own: it is put back as it was when the link is written.
  bool ownCom = !FComInitialized;
  InitCOM();
  struct TComRelease {
    TCustomInstallShellLink* Link;
    bool Own;
    ~TComRelease() {
      if (!Own) return;
      CoUninitialize();
      Link->FComInitialized = false;
    }
  } release{this, ownCom};

  Microsoft::WRL::ComPtr<IShellLinkA> link;
  HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(link.GetAddressOf()));
  if (FAILED(created))
    throw IEInstallShellLink(
        "The TCustomInstallShellLink %s name could not be installed. The following error was "
        "reported %s. Error code %d",
        Name(), ComErrorText(created), static_cast<int32_t>(created));
  try {
    Check(link->SetPath(target.c_str()));
    Check(link->SetHotkey(FHotKey));
    Check(link->SetArguments(arguments.c_str()));
    std::string workingDir = Trimmed(FWorkingDir).empty() ? FolderOf(target) : FWorkingDir;
    Check(link->SetWorkingDirectory(workingDir.c_str()));
    if (!Trimmed(FIconFilePath).empty()) Check(link->SetIconLocation(FIconFilePath.c_str(), FIconIndex));
    Microsoft::WRL::ComPtr<IPersistFile> file;
    Check(link.As(&file));
    // The shell's file name buffer holds MAX_PATH characters with the terminator.
    if (linkFile.size() >= MAX_PATH)
      throw IEInstallShellLink("The link file name %s of %s is longer than %d characters", linkFile, Name(),
                               MAX_PATH - 1);
    wchar_t wideName[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wideName, MAX_PATH) == 0)
      Check(HRESULT_FROM_WIN32(GetLastError()));
    TFileOfRun made(linkFile);
    Check(file->Save(wideName, TRUE));
  } catch (const TComStepFailed& failed) {
    throw IEInstallShellLink(
        "The TCustomInstallShellLink %s name could not be installed. The following error was reported %s. Error "
        "code %d",
        Name(), ComErrorText(failed.Result), static_cast<int32_t>(failed.Result));
  } catch (const fw::Exception& failed) {
    throw IEInstallShellLink(
        "The TCustomInstallShellLink %s name could not be installed. The following error was reported %s", Name(),
        failed.Message());
  }
  FMadeFile = linkFile;
}

void TCustomInstallShellLink::CreateURLFile() {
  MakeLinkFolder();
  const std::string linkFile = GetLinkFileName();
  TFileOfRun made(linkFile);
  if (!WritePrivateProfileStringA("InternetShortcut", "URL", FObjectLocation.c_str(), linkFile.c_str()))
    throw IEInstallShellLink("Could not write the Internet shortcut %s for %s: %s", linkFile, Name(),
                             SystemErrorText(GetLastError()));
  FMadeFile = linkFile;
}

std::string TCustomInstallShellLink::HardLinkFileName(const std::string& Target) const {
  // A hard link is the target under another name, and Windows opens a file by its
  // extension: the link's name without ".LNK" keeps the target's extension.
  std::string name = GetLinkFileName();
  if (Upper(ExtensionOf(name)) == ".LNK") name = WithoutExtension(name);
  const std::string extension = ExtensionOf(Target);
  if (Upper(ExtensionOf(name)) != Upper(extension)) name += extension;
  return name;
}

void TCustomInstallShellLink::CreateHardLink() {
  MakeLinkFolder();
  const std::string target = GetObjectPath();
  DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    throw IEInstallShellLink("Could not create hardlink for %s: its target %s is not an existing file", Name(), target);
  // The file made is the link's own name for the target's file; a name that is taken
  // stays as it is.
  const std::string linkFile = HardLinkFileName(target);
  TFileOfRun made(linkFile, false);
  if (!MakeHardLink(linkFile, target, nullptr)) throw IEInstallShellLink("Could not create hardlink for %s", Name());
  FMadeFile = linkFile;
}

void TCustomInstallShellLink::SetLinkName(const std::string& Value) {
  const std::string oldExtension = Upper(ExtensionOf(FLinkName));
  FLinkName = Replaced(Value, kInvalidLinkNameChars);
  if (IsLoading() || Trimmed(FLinkName).empty()) return;
  const std::string extension = Upper(ExtensionOf(Value));
  if (extension == ".URL") {
    FObjectLink = nullptr;
  } else if (extension != ".LNK") {
    // The whole name stays: "Tool 2.0" becomes "Tool 2.0.LNK".
    FLinkName += oldExtension.empty() ? ".LNK" : oldExtension;
  }
}

void TCustomInstallShellLink::SetObjectLocation(const std::string& Value) {
  FObjectLocation = dynamic_cast<TpsObjectLink*>(FObjectLocationType) != nullptr ? std::string() : Value;
  if (IsLoading()) return;
  const std::string current = Upper(Trimmed(FLinkName));
  if (!current.empty() && current != ".LNK") return;
  std::string name;
  if (NameFromURL(Value, name))
    FLinkName = name;
  else
    SetLinkName(WithoutExtension(FileNameOf(Value)));
}

void TCustomInstallShellLink::StoreObjectLocationType(TCustomPathSpecifier* Value) {
  if (FObjectLocationType != nullptr) FObjectLocationType->RemoveFreeNotification(this);
  FObjectLocationType = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TCustomInstallShellLink::SetObjectLocationType(TCustomPathSpecifier* Value) {
  if (!IsLoading() && Value != nullptr) {
    Value->ValidateObject(this);
    if (dynamic_cast<TpsObjectLink*>(Value) != nullptr) FObjectLocation.clear();
  }
  StoreObjectLocationType(Value);
}

void TCustomInstallShellLink::SetObjectLink(TInstallContainer* Value) {
  if (IsLoading()) {
    FObjectLink = Value;
    return;
  }
  if (Value == nullptr) {
    FObjectLink = nullptr;
    StoreObjectLocationType(nullptr);
    return;
  }
  TCustomPathSpecifier* specifier = StandardSpecifier(TpsObjectLink::StaticClass());
  if (specifier == nullptr) {
    CreateStandardSpecifier(TpsObjectLink::StaticClass(), Owner(), true);
    specifier = StandardPathSpecifiers()->FindByClass(TpsObjectLink::StaticClass());
  }
  FObjectLink = Value;
  StoreObjectLocationType(specifier);
  FObjectLocation.clear();
  if (auto* file = dynamic_cast<TCustomInstallFile*>(Value))
    FLinkName = WithoutExtension(file->DestName()) + ".lnk";
  else if (auto* directory = dynamic_cast<TInstallDirectory*>(Value))
    FLinkName = directory->Description() + ".lnk";
  else
    FLinkName = Value->Name() + ".lnk";
  if (Container() == nullptr) SetContainer(Value);
}

std::string TCustomInstallShellLink::GetObjectPath() {
  if (FObjectLocationType != nullptr) return FObjectLocationType->GetPath(this) + FObjectLocation;
  return RemoveTrailingBackslash(FObjectLocation);
}

std::string TCustomInstallShellLink::GetLinkFileName() const {
  return GetFullDestDir() + "\\" + FLinkName;
}

bool TCustomInstallShellLink::IsURLLink() const {
  return Upper(ExtensionOf(FLinkName)) == ".URL";
}

void TCustomInstallShellLink::Install() {
  FMadeFile.clear();
  if (Trimmed(FLinkName).empty())
    throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed", Name());
  if (FObjectLink != nullptr) {
    // A target left out of this run gets no shortcut, and the link is not done.
    if (!FObjectLink->Done()) throw fw::EAbort();
    if (dynamic_cast<TUninstallEXE*>(FObjectLink) != nullptr) {
      TInstallEngine* engine = GlobalInstall();
      if (engine == nullptr)
        throw IEInstallShellLink("%s cannot perform operation because there is no TInstall component", Name());
      FParameters = engine->EngineInformation().ProductName();
    }
    if (auto* group = dynamic_cast<TCustomShellLinkGroup*>(FObjectLink)) {
      const std::string folder = group->GetFullDestDir();
      if (!MakeFolderOfRun(folder)) throw IEInstallShellLink("Could not create the folder %s for %s", folder, Name());
    }
  }
  if (IsURLLink()) {
    CreateURLFile();
  } else if (FMethod == mtShellLinkInterface) {
    CreateShellLink();
  } else {
    switch (GetOSVersion()) {
      case oswin95:
      case oswinNT:
      case oswin98:
      case oswinME:
        CreateShellLink();
        break;
      case oswin2K:
      case oswinXP:
        if (FHardLink)
          CreateHardLink();
        else
          CreateShellLink();
        break;
      default:
        break;  // no shortcuts on this Windows
    }
  }
  TInstallObject::Install();
}

void TCustomInstallShellLink::WriteUninstallInfo(const std::string& Key) {
  // The file the link made, with what it wrote.
  if (!FMadeFile.empty()) LogInstalledFile(Key, FMadeFile, LoggedWriteAt(FMadeFile));
}

void TCustomInstallShellLink::InformationEvent(fw::TObject*, int Code, fw::TObject*) {
  if (Code == icProcessShellLink) Process();
}

void TCustomInstallShellLink::RemoveReference(TInstallContainer* Obj) {
  bool lost = Obj != nullptr && (Obj == Container() || Obj == FObjectLink);
  if (Obj != nullptr && Obj == FObjectLink) {
    FObjectLink = nullptr;
    StoreObjectLocationType(nullptr);
  }
  TInstallObject::RemoveReference(Obj);
  if (lost && !ComponentState().Contains(fw::csDestroying)) Free();
}

void TCustomInstallShellLink::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent != nullptr && AComponent == FObjectLocationType)
    FObjectLocationType = nullptr;
}

const fw::TClass& TInstallShellLink::StaticClass() {
  using T = TInstallShellLink;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Creatable()
          .Component("Container", &T::Container, &T::SetContainer)
          .String("DestDir", &T::DestDir, &T::SetDestDir)
          .Component("DestDirType", &T::DestDirType, &T::SetDestDirType)
          .Boolean("HardLink", &T::HardLink, &T::SetHardLink)
          .Integer("HotKey", &T::HotKey, &T::SetHotKey)
          .String("IconFilePath", &T::IconFilePath, &T::SetIconFilePath)
          .Integer("IconIndex", &T::IconIndex, &T::SetIconIndex)
          .Boolean("Include", &T::Include, &T::SetInclude)
          .String("LinkName", &T::LinkName, &T::SetLinkName)
          .Enum("Method", MethodTypeInfo(), &T::Method, &T::SetMethod)
          .Component("ObjectLink", &T::ObjectLink, &T::SetObjectLink)
          .String("ObjectLocation", &T::ObjectLocation, &T::SetObjectLocation)
          .Component("ObjectLocationType", &T::ObjectLocationType, &T::SetObjectLocationType)
          .String("Parameters", &T::Parameters, &T::SetParameters)
          .Boolean("Uninstall", &T::Uninstall, &T::SetUninstall)
          .String("WorkingDir", &T::WorkingDir, &T::SetWorkingDir)
          .Event("OnAfterProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnAfterProcess))
          .Event("OnBeforeProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnBeforeProcess));
  return cls;
}

// --- main links ------------------------------------------------------------------

const fw::TClass& TInstallMainLink::StaticClass() {
  using T = TInstallMainLink;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Creatable()
          .String("DestDir", &T::DestDir, &T::SetDestDir)
          .Integer("HotKey", &T::HotKey, &T::SetHotKey)
          .Boolean("Include", &T::Include, &T::SetInclude)
          .String("LinkName", &T::LinkName, &T::SetLinkName)
          .Enum("Method", MethodTypeInfo(), &T::Method, &T::SetMethod)
          .Component("ObjectLink", &T::ObjectLink, &T::SetObjectLink)
          .String("ObjectLocation", &T::ObjectLocation, &T::SetObjectLocation)
          .Component("ObjectLocationType", &T::ObjectLocationType, &T::SetObjectLocationType)
          .String("Parameters", &T::Parameters, &T::SetParameters)
          .Boolean("Uninstall", &T::Uninstall, &T::SetUninstall)
          .Event("OnAfterProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnAfterProcess))
          .Event("OnBeforeProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnBeforeProcess));
  return cls;
}

TInstallMainLink::TInstallMainLink(fw::TComponent* AOwner) : TCustomInstallShellLink(AOwner) {
  if (gMainLinkGroup == nullptr)
    throw IEInstallShellLink(
        "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
  TInstallObject::SetContainer(gMainLinkGroup);
  StoreDestDirType(StandardSpecifier(TpsContainerDestDir::StaticClass()));
  if (gMainLinks != nullptr) gMainLinks->Add(this);
}

TInstallMainLink::~TInstallMainLink() {
  if (gMainLinks != nullptr) gMainLinks->Remove(this);
}

void TInstallMainLink::SetContainer(TInstallContainer* Value) {
  if (Value == nullptr || Value != gMainLinkGroup)
    throw IEInstallShellLink(
        "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components");
  TCustomInstallShellLink::SetContainer(Value);
}

void TInstallMainLink::SetDestDirType(TCustomPathSpecifier*) {
  StoreDestDirType(StandardSpecifier(TpsContainerDestDir::StaticClass()));
}

// --- lists and the hard link ---------------------------------------------------------

void TInstallShellLinkList::Add(TCustomInstallShellLink* Item) {
  if (Item == nullptr) throw IEInstallShellLinkList("Cannot add a blank entry to the shell link list");
  FItems.push_back(Item);
}

void TInstallShellLinkList::Remove(TCustomInstallShellLink* Item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
}

TInstallShellLinkList* ShellLinks() {
  return gShellLinks;
}
TInstallShellLinkList* MainLinks() {
  return gMainLinks;
}

bool MakeHardLink(const std::string& NewName, const std::string& ExistingName, void* SecurityAttributes) {
  using TCreateHardLinkA = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
  const auto create = Kernel32Function<TCreateHardLinkA>("CreateHardLinkA");
  if (create == nullptr) throw IEInstallHardLink("Could not create hardlink for %s", "Kernel32");
  return create(NewName.c_str(), ExistingName.c_str(), static_cast<LPSECURITY_ATTRIBUTES>(SecurityAttributes)) != 0;
}

// Windows names its window-class call like the framework's class registration.
#undef RegisterClass

void StartShellLinkUnit() {
  gShellLinks = new TInstallShellLinkList();
  gMainLinks = new TInstallShellLinkList();
  fw::RegisterClass(TMainLinkGroup::StaticClass());
  fw::RegisterClass(TInstallShellLink::StaticClass());
  fw::RegisterClass(TInstallMainLink::StaticClass());
  fw::RegisterClass(TUninstallEXE::StaticClass());
  fw::RegisterClass(TpsObjectLink::StaticClass());
}

void StopShellLinkUnit() {
  delete gMainLinks;
  gMainLinks = nullptr;
  delete gShellLinks;
  gShellLinks = nullptr;
}

}  // namespace setup
