#include "Install.h"

// windows.h first: the framework's headers below use its types.
#include <windows.h>

#include <cstdlib>

#include "BuildInfo.h"
#include "archive/ArchiveText.h"
#include "core/ClassDef.h"
#include "core/Strings.h"
#include "gui/Forms.h"
#include "gui/Graphics.h"
#include "gui/GuiStartup.h"
#include "objects/InstallLists.h"
#include "objects/NetInstallLocation.h"
#include "paths/EngineSpecifiers.h"
#include "paths/StandardSpecifiers.h"
#include "support/InstallInformation.h"
#include "support/NetInstallLocation.h"
#include "support/PathStrings.h"
#include "support/ProgramLauncher.h"

namespace setup {

namespace {

constexpr char kThemeBitmapResource[] = "INSTALLTHEME1";
constexpr int kThemeWidth = 117;
constexpr int kThemeHeight = 290;

TCustomPathSpecifier* StandardSpecifier(const fw::TClass& Class) {
  TStandardPathSpecList* list = StandardPathSpecifiers();
  return list != nullptr ? list->Find(Class) : nullptr;
}

// The bitmap resource as the bytes of a bitmap file (the resource lacks the file header).
std::vector<uint8_t> ThemeBitmapFile() {
  HMODULE module = fw::ModuleInstance();
  HRSRC info = FindResourceA(module, kThemeBitmapResource, reinterpret_cast<LPCSTR>(RT_BITMAP));
  HGLOBAL data = info != nullptr ? LoadResource(module, info) : nullptr;
  const auto* bytes = data != nullptr ? static_cast<const uint8_t*>(LockResource(data)) : nullptr;
  DWORD size = info != nullptr ? SizeofResource(module, info) : 0;
  if (bytes == nullptr || size < sizeof(BITMAPINFOHEADER)) return {};
  BITMAPINFOHEADER header;
  memcpy(&header, bytes, sizeof(header));
  DWORD colours = header.biClrUsed != 0 ? header.biClrUsed : (header.biBitCount <= 8 ? 1u << header.biBitCount : 0u);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfSize = static_cast<DWORD>(sizeof(file) + size);
  file.bfOffBits = static_cast<DWORD>(sizeof(file) + header.biSize + colours * sizeof(RGBQUAD));
  std::vector<uint8_t> result(sizeof(file) + size);
  memcpy(result.data(), &file, sizeof(file));
  memcpy(result.data() + sizeof(file), bytes, size);
  return result;
}

std::string ModuleFileName(HMODULE Module) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetModuleFileNameA(Module, buffer, sizeof(buffer));
  return std::string(buffer, length < sizeof(buffer) ? length : 0);
}

bool IsLibraryBuild() {
  return fw::ModuleInstance() != GetModuleHandleA(nullptr);
}

}  // namespace

const fw::TClass& TCustomInstall::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomInstall>();
  return cls;
}

const fw::TClass& TInstall::StaticClass() {
  using T = TInstall;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Creatable()
          .Enum("AddToArchive", LzhCommandInfo(), &T::AddToArchive, &T::SetAddToArchive)
          .String("ArchiveFile", &T::ArchiveFile, &T::SetArchiveFile)
          .Component("ArchiveFileType", &T::ArchiveFileType, &T::SetArchiveFileType)
          .Boolean("AutoMaximizeWindow", &T::AutoMaximizeWindow, &T::SetAutoMaximizeWindow)
          .Object("BuildInfo", &T::BuildInfo, &T::SetBuildInfo)
          .String("Description", &T::Description, &T::SetDescription)
          .String("DestDir", &T::DestDir, &T::SetDestDir)
          .Component("DestDirType", &T::DestDirType, &T::SetDestDirType)
          .Object("DialogThemeBitmap", &T::DialogThemeBitmap, &T::SetDialogThemeBitmap)
          .Enum("DistributeType", DistributeTypeInfo(), &T::DistributeType, &T::SetDistributeType)
          .Boolean("HideMainForm", &T::HideMainForm, &T::SetHideMainForm)
          .Boolean("Include", &T::Include, &T::SetInclude)
          .Object("Information", &T::Information, &T::SetInformation)
          .Set("InstallTypes", InstallTypeInfo(), &T::InstallTypes, &T::SetInstallTypes)
          .Object("win2KExtendedInformation", &T::ExtendedInformation, &T::SetExtendedInformation)
          .Component("NetLocation", &T::NetLocation, &T::SetNetLocationComponent)
          .Boolean("NoUninstall", &T::NoUninstall, &T::SetNoUninstall)
          .Set("OS", OSVerTypeInfo(), &T::OS, &T::SetOS)
          .StringList(
              "PresetupFiles", [](const T* t) { return t->PresetupFiles()->ToVector(); },
              [](T* t, const std::vector<std::string>& v) {
                fw::TStringList list;
                for (const std::string& line : v) list.Add(line);
                t->SetPresetupFiles(&list);
              })
          .Boolean("Reboot", &T::Reboot, &T::SetReboot)
          .Boolean("RunAutomatic", &T::RunAutomatic, &T::SetRunAutomatic)
          .Boolean("UseLoadingProgram", &T::UseLoadingProgram, &T::SetUseLoadingProgram)
          .Event("OnAfterInitialized", static_cast<fw::TNotifyEvent T::*>(&T::OnAfterInitialized))
          .Event("OnAfterInstallObjects", static_cast<TAfterInstallObjectsEvent T::*>(&T::OnAfterInstallObjects))
          .Event("OnAfterNotifyBadInstall", static_cast<fw::TNotifyEvent T::*>(&T::OnAfterNotifyBadInstall))
          .Event("OnAfterNotifyGoodInstall", static_cast<fw::TNotifyEvent T::*>(&T::OnAfterNotifyGoodInstall))
          .Event("OnAfterReadArchiveInfo", static_cast<fw::TNotifyEvent T::*>(&T::OnAfterReadArchiveInfo))
          .Event("OnBeforeCleanup", static_cast<TCleanupEvent T::*>(&T::OnBeforeCleanup))
          .Event("OnBeforeInstallObjects", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnBeforeInstallObjects))
          .Event("OnBeforeNotifyBadInstall", static_cast<fw::TNotifyEvent T::*>(&T::OnBeforeNotifyBadInstall))
          .Event("OnBeforeNotifyGoodInstall", static_cast<fw::TNotifyEvent T::*>(&T::OnBeforeNotifyGoodInstall))
          .Event("OnBeforeReadArchiveInfo", static_cast<fw::TNotifyEvent T::*>(&T::OnBeforeReadArchiveInfo))
          .Event("OnBeforeReboot", static_cast<TRebootWindowsEvent T::*>(&T::OnBeforeReboot))
          .Event("OnBeforeRunFile", static_cast<TBeforeRunFileEvent T::*>(&T::OnBeforeRunFile))
          .Event("OnBeforeShutdown", static_cast<TUserAbortEvent T::*>(&T::OnBeforeShutdown))
          .Event("OnFailedReboot", static_cast<fw::TNotifyEvent T::*>(&T::OnFailedReboot))
          .Event("OnNewDisk", static_cast<TInstallFileNewDiskEvent T::*>(&T::OnNewDisk))
          .Event("OnReplacing", static_cast<TInstallFileNotifyEvent T::*>(&T::OnReplacing))
          .Event("OnStatus", static_cast<TInstallFileStatusEvent T::*>(&T::OnStatus))
          .Event("OnUserAbort", static_cast<TUserAbortEvent T::*>(&T::OnUserAbort));
  return cls;
}

TCustomInstall::TCustomInstall(fw::TComponent* AOwner) : TFileContainer(AOwner, rtFileContainer) {
  SetInstallTypes(TInstallTypeSet{itFull});
  if (GlobalInstall() != nullptr)
    throw IEInstall(
        "The TInstall component does not currently support the use of 2 TInstall components in the same project");
  if (dynamic_cast<fw::TCustomForm*>(AOwner) == nullptr)
    throw IEInstall("The owner of the TInstall component must be a TCustomForm or a TForm");
  // The engine names no container folder of its own.
  AdoptPathSpecifier(nullptr);
  SetFireAfterInstallObjects(false);
  FBuildInfo = std::make_unique<TBuildInfo>();
  FDialogThemeBitmap = std::make_unique<fw::TPicture>();
  if (std::vector<uint8_t> theme = ThemeBitmapFile(); !theme.empty()) {
    fw::TBitmap bitmap;
    bitmap.LoadFromBytes(theme);
    FDialogThemeBitmap->SetGraphic(&bitmap);
  }
  FInformation = std::make_unique<TInstallInformation>();
  FRegistrationInformation = std::make_unique<TRegistrationInformation>();
  FExtendedInformation = std::make_unique<TControlPanelExtensionInformation>();
  FPresetupFiles = std::make_unique<fw::TStringList>();
  StoreArchiveFileType(StandardSpecifier(TpsMainArchiveFile::StaticClass()));
  StoreArchiveFile(std::string());
  SetGlobalInstall(this);
  DefaultDestDirType(StandardSpecifier(TpsProgramFiles::StaticClass()));
  SetDestDir("\\MyApplication");
  SetDescription("TInstall component");
  if (!IsDesignTime(AOwner) && fw::Application != nullptr)
    fw::Application->OnException = fw::TExceptionEvent(this, &TCustomInstall::HandleException);
}

TCustomInstall::~TCustomInstall() {
  RestoreOnShow();
  if (fw::Application != nullptr && fw::Application->OnException.Data() == this) fw::Application->OnException = nullptr;
  if (FCleanupBatchWritten) {
    try {
      TProgramLauncher launcher(nullptr);
      launcher.SetFileName(FCleanupBatchFile);
      launcher.SetShowMode(smHide);
      launcher.Execute();
    } catch (...) {
      // The loader's folder stays; nothing else depends on it.
    }
  }
}

// --- properties --------------------------------------------------------------------

void TCustomInstall::SetAutoMaximizeWindow(bool Value) {
  FAutoMaximizeWindow = Value;
  if (Value && !IsLoading()) FHideMainForm = false;
}

void TCustomInstall::SetHideMainForm(bool Value) {
  FHideMainForm = Value;
  if (Value && !IsLoading()) FAutoMaximizeWindow = false;
}

void TCustomInstall::SetBuildInfo(TBuildInfo* Value) {
  FBuildInfo->Assign(Value);
}

void TCustomInstall::SetDialogThemeBitmap(fw::TPicture* Value) {
  FDialogThemeBitmap->Assign(Value);
}

void TCustomInstall::SetInformation(TInstallInformation* Value) {
  FInformation->Assign(Value);
}

void TCustomInstall::SetExtendedInformation(TControlPanelExtensionInformation* Value) {
  FExtendedInformation->Assign(Value);
}

void TCustomInstall::RemoveReference(TInstallContainer* Obj) {
  TFileContainer::RemoveReference(Obj);
  FExtendedInformation->RemoveReference(Obj);
}

void TCustomInstall::SetPresetupFiles(fw::TStrings* Value) {
  fw::TStringList lines;
  if (Value != nullptr)
    for (int i = 0; i < Value->Count(); ++i)
      if (!fw::Trim(Value->Get(i)).empty()) lines.Add(Value->Get(i));
  FPresetupFiles->Assign(&lines);
}

void TCustomInstall::SetUseLoadingProgram(bool Value) {
  FUseLoadingProgram = Value;
  if (Value && !IsLoading()) {
    StoreArchiveFileType(StandardSpecifier(TpsMainArchiveFile::StaticClass()));
    StoreArchiveFile(std::string());
  }
}

void TCustomInstall::SetDistributeType(TDistributeType Value) {
  if (!IsLoading()) {
    if (!IsDesignTime(this)) throw IEInstall("DistributeType can only be set at design-time");
    if (Value != dtTraditional && FNetLocation == nullptr)
      throw IEInstallNetLocNil(
          "Must assign a net location via the NetLocation property before you can set the distribute type");
  }
  FDistributeType = Value;
}

void TCustomInstall::SetNetLocationComponent(fw::TComponent* Value) {
  auto* location = dynamic_cast<INetInstallLocation*>(Value);
  if (Value != nullptr && location == nullptr)
    throw IEInstall("%s is not a net install location and cannot be the NetLocation of %s", Value->Name(), Name());
  if (FNetLocationComponent != nullptr) FNetLocationComponent->RemoveFreeNotification(this);
  FNetLocationComponent = Value;
  FNetLocation = location;
  if (Value != nullptr) Value->FreeNotification(this);
  SetNetLocation(location);
  // The downloads of the whole run go through the engine's location.
  SetGlobalNetLocation(dynamic_cast<TCustomNetInstallLocation*>(Value));
  if (Value == nullptr) FDistributeType = dtTraditional;
}

void TCustomInstall::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TFileContainer::Notification(AComponent, Operation);
  if (Operation != fw::opRemove || AComponent == nullptr) return;
  if (AComponent == FNetLocationComponent) {
    // A location that goes is dropped as it is, never through the setter's checks.
    FNetLocationComponent = nullptr;
    FNetLocation = nullptr;
    TFileRelated::SetNetLocation(nullptr);
    FDistributeType = dtTraditional;
  }
  if (AComponent == FMainForm) FMainForm = nullptr;
}

void TCustomInstall::EngineUninstallerRemoved() {
  if (FBuildInfo) FBuildInfo->SetAddUninstallOnCreate(false);
}

bool TCustomInstall::EngineSelfExtractSwitch(std::string& FileName) const {
  if (!FSwitches.Has(swSelfExtract)) return false;
  FileName = FSwitches.Value(swSelfExtract);
  return true;
}

// --- what the platform gives ------------------------------------------------------------

std::vector<std::string> TCustomInstall::CommandLineArguments() const {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
  return arguments;
}

std::string TCustomInstall::ProgramFileName() const {
  return IsLibraryBuild() ? GetLibraryFileName() : ModuleFileName(nullptr);
}

void TCustomInstall::TerminateApplication() {
  if (fw::Application != nullptr) fw::Application->Terminate();
}

// Boxes break a long path into lines: in one line the box would be wider than the screen.
void TCustomInstall::ShowError(const fw::Exception& E) {
  if (fw::Application != nullptr)
    fw::Application->ShowException(fw::Exception(BreakLongWords(E.Message(), kLongestMessageWord)));
}

void TCustomInstall::ShowMessage(const std::string& Text) {
  std::string title = fw::Application != nullptr ? fw::Application->Title() : std::string();
  MessageBoxA(GetActiveWindow(), BreakLongWords(Text, kLongestMessageWord).c_str(), title.c_str(),
              MB_OK | MB_ICONINFORMATION);
}

std::string TCustomInstall::GetLibraryFileName() const {
  return ModuleFileName(fw::ModuleInstance());
}

std::string TCustomInstall::GetProgramDir() const {
  return RemoveTrailingBackslash(ExtractFilePath(ProgramFileName()));
}

std::string TCustomInstall::GetSetupFileName() const {
  if (IsLibraryBuild()) return GetLibraryFileName();
  if (FSwitches.Has(swSelfExtract)) return GetArchivePath();
  return ProgramFileName();
}

// --- start-up ---------------------------------------------------------------------------

void TCustomInstall::ParseCommandLine() {
  FSwitches = TInstallSwitches();
  FSwitches = ParseInstallSwitches(CommandLineArguments());
}

void TCustomInstall::Loaded() {
  TFileContainer::Loaded();
  bool design = IsDesignTime(this);
  if (!design) {
    ParseCommandLine();
    if (FSwitches.Has(swDebug) && (!FSwitches.Has(swSource) || fw::Trim(FSwitches.Value(swSource)).empty()))
      throw IEInstall(
          "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My Build\"");
  }
  FSourceDir = FSwitches.Has(swSource) ? RemoveTrailingBackslash(FSwitches.Value(swSource)) : GetProgramDir();
  std::string key;
  FindInstallRecord(false, key);
  if (InstallRecordKey() != nullptr) *InstallRecordKey() = key;
  std::string local;
  if (GetLocalArchiveFile(local)) SetLocalArchivePath(local);
  if (fw::Application != nullptr && fw::Application->MainForm() != nullptr)
    FMainForm = fw::Application->MainForm();
  else
    FMainForm = dynamic_cast<fw::TCustomForm*>(Owner());
  if (FMainForm == nullptr && FRunAutomatic)
    throw IEInstall(
        "Application.MainForm is undefined and the TInstall is not on a form. Therefore, therefore the TInstall can't "
        "run the installation automatically");
  if (FMainForm != nullptr) FMainForm->FreeNotification(this);
  SetSelectedInstallType(itFull);
  for (TInstallType type : {itDefault, itCompact, itFull})
    if (InstallTypes().Contains(type)) {
      SetSelectedInstallType(type);
      break;
    }
  if (!design) DispatchStart();
}

void TCustomInstall::DispatchStart() {
  if (FSwitches.Has(swBuild)) {
    BuildFromBuildInf();
  } else if (FSwitches.Has(swFloppies)) {
    TransferToFloppies("a:");
  } else if (FSwitches.Has(swAfterReboot)) {
    // The continuation runs while the form loads: its failures take the bad-install path
    // here, as failures of an install run do in the message loop.
    try {
      FinishAfterReboot();
    } catch (...) {
      if (fw::Application != nullptr)
        fw::Application->HandleException(this);
      else
        throw;
    }
  } else if (FMainForm != nullptr) {
    HookMainForm();
  }
}

void TCustomInstall::HookMainForm() {
  if (dynamic_cast<fw::TForm*>(FMainForm) != nullptr) {
    FSavedOnShow = FMainForm->OnShow;
    FMainForm->OnShow = fw::TNotifyEvent(this, &TCustomInstall::StartOnShow);
  }
  if (FHideMainForm) {
    FMainForm->SetLeft(-2 * FMainForm->Width());
    FMainForm->SetTop(-2 * FMainForm->Height());
  }
}

void TCustomInstall::RestoreOnShow() {
  if (FMainForm == nullptr || IsDesignTime(this) || !FSavedOnShow) return;
  if (dynamic_cast<fw::TForm*>(FMainForm) == nullptr || FMainForm->ComponentState().Contains(fw::csDestroying)) return;
  if (FMainForm->OnShow.Data() == this) FMainForm->OnShow = FSavedOnShow;
}

void TCustomInstall::StartOnShow(fw::TObject* Sender) {
  if (FStarted) return;
  if (FSavedOnShow) FSavedOnShow(Owner());
  FStarted = true;
  if (FMainForm != nullptr && FAutoMaximizeWindow) {
    FMainForm->SetWindowState(fw::wsMaximized);
    FMainForm->Repaint();
  }
  if (!FRunAutomatic) return;
  if (Owner() == nullptr || !Owner()->ComponentState().Contains(fw::csDestroying)) RestoreOnShow();
  Process();
}

}  // namespace setup
