#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
// after windows.h
#include <objidl.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "FileTestSupport.h"
#include "ObjectTestSupport.h"
#include "core/FormReader.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/ShellLinks.h"
#include "objects/UninstallEXE.h"
#include "paths/ObjectLinkSpecifier.h"
#include "paths/StandardSpecifiers.h"
#include "support/Registry.h"
#include "support/WinFolders.h"
#include "tests/ErrorText.h"

using namespace setup;
using namespace setup::testing;
using fw::testing::ErrorText;

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());

TWindowsVersion gVersion{2, 5, 1};
bool InjectedVersion(TWindowsVersion& Version) {
  Version = gVersion;
  return true;
}

// Shortcuts on a form, with a scratch folder for their files.
class Links : public ::testing::Test {
 protected:
  void SetUp() override { FPrevious = SetWindowsVersionQuery(InjectedVersion); }
  void TearDown() override {
    SetWindowsVersionQuery(FPrevious);
    gVersion = {2, 5, 1};
  }
  // A shortcut whose file goes into the scratch folder's "menu".
  TInstallShellLink* NewLink(const std::string& Name) {
    auto* link = new TInstallShellLink(Form.get());
    link->SetName(Name);
    link->SetDestDirType(nullptr);
    link->SetDestDir(Scratch / "menu");
    return link;
  }
  // An installed file in the scratch folder's "app".
  TInstallFile* NewTarget(const std::string& DestName, bool Installed) {
    auto* file = new TInstallFile(Form.get());
    file->SetDestDirType(nullptr);
    file->SetDestDir(Scratch.Folder("app"));
    file->SetDestName(DestName);
    WriteFile(file->GetDestFileName(), "MZ target");
    file->SetDone(Installed);
    return file;
  }

  TScratchFolder Scratch{"links"};
  fw::TOwnedPtr<fw::TForm> Form{new fw::TForm(nullptr)};
  TWindowsVersionQuery FPrevious = nullptr;
};

TEST_F(Links, LinkNamesKeepOrGainTheirExtension) {
  TInstallShellLink* link = NewLink("Names");
  link->SetLinkName("My|App");
  EXPECT_EQ(link->LinkName(), "My_App.LNK");
  link->SetLinkName("Sub\\A:B*C?\"<>/");
  EXPECT_EQ(link->LinkName(), "Sub\\A:B_C_____.LNK");
  // The whole name stays when it has a dot of its own.
  link->SetLinkName("Tool 2.0");
  EXPECT_EQ(link->LinkName(), "Tool 2.0.LNK");
  link->SetLinkName("Readme.lnk");
  EXPECT_EQ(link->LinkName(), "Readme.lnk");
  EXPECT_FALSE(link->IsURLLink());

  // A ".url" name drops the linked object; later names keep ".URL".
  link->SetObjectLink(NewTarget("tool.exe", true));
  link->SetLinkName("Home.url");
  EXPECT_EQ(link->ObjectLink(), nullptr);
  EXPECT_TRUE(link->IsURLLink());
  link->SetLinkName("Site");
  EXPECT_EQ(link->LinkName(), "Site.URL");
  link->SetLinkName("  ");
  EXPECT_EQ(link->LinkName(), "  ");
}

TEST_F(Links, ALocationNamesALinkThatHasNoName) {
  TInstallShellLink* link = NewLink("Web");
  link->SetObjectLocation("http://www.example.com/page.html");
  EXPECT_EQ(link->LinkName(), "www.example.com_page.html.URL");
  EXPECT_TRUE(link->IsURLLink());
  // A named link keeps its name.
  link->SetObjectLocation("http://other.example.com/");
  EXPECT_EQ(link->LinkName(), "www.example.com_page.html.URL");
  EXPECT_EQ(link->ObjectLocation(), "http://other.example.com/");

  TInstallShellLink* ftp = NewLink("Ftp");
  ftp->SetLinkName(".lnk");
  ftp->SetObjectLocation("Get FTP://files.example.com/a?b:c");
  EXPECT_EQ(ftp->LinkName(), "files.example.com_a_b_c.URL");

  TInstallShellLink* file = NewLink("File");
  file->SetObjectLocation("C:\\Program Files\\Tool\\tool.exe");
  EXPECT_EQ(file->LinkName(), "tool.LNK");
  EXPECT_EQ(file->GetObjectPath(), "C:\\Program Files\\Tool\\tool.exe");
  file->SetObjectLocationType(Form->FindComponent("psWindow") != nullptr
                                  ? static_cast<TCustomPathSpecifier*>(Form->FindComponent("psWindow"))
                                  : nullptr);
  file->SetObjectLocation("\\notepad.exe");
  std::string windows = GetWindowsDir();
  if (windows.back() == '\\') windows.pop_back();
  EXPECT_EQ(file->GetObjectPath(), windows + "\\notepad.exe");
}

TEST_F(Links, AnObjectLinkPointsAtTheInstalledObject) {
  TInstallShellLink* link = NewLink("ToTool");
  auto* specifier = dynamic_cast<TpsObjectLink*>(Form->FindComponent("psObjectLink"));
  ASSERT_NE(specifier, nullptr);  // every form with a shortcut has one
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { link->SetObjectLocationType(specifier); }),
            "Cannot use ddObjectLink for ToTool unless you assign a value to ObjectLink");
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { specifier->GetPath(Form.get()); }),
            "" + Form->Name() + " must be a TCustomInstallShellLink to use the psObjectLink path specifier");

  TInstallFile* tool = NewTarget("tool.exe", true);
  link->SetObjectLink(tool);
  EXPECT_EQ(link->ObjectLocationType(), specifier);
  EXPECT_EQ(link->LinkName(), "tool.lnk");
  EXPECT_EQ(link->Container(), tool);
  EXPECT_EQ(link->GetObjectPath(), Scratch / "app\\tool.exe");
  link->SetObjectLocation("ignored");
  EXPECT_EQ(link->ObjectLocation(), "");

  auto* directory = new TInstallDirectory(Form.get());
  directory->SetDescription("Samples");
  directory->SetDestDirType(nullptr);
  directory->SetDestDir(Scratch / "samples\\");
  TInstallShellLink* toFolder = NewLink("ToFolder");
  toFolder->SetObjectLink(directory);
  EXPECT_EQ(toFolder->LinkName(), "Samples.lnk");
  EXPECT_EQ(toFolder->GetObjectPath(), Scratch / "samples");
  toFolder->SetObjectLink(nullptr);
  EXPECT_EQ(toFolder->ObjectLocationType(), nullptr);

  // The shortcut goes with its target.
  int links = ShellLinks()->Count();
  tool->Free();
  EXPECT_EQ(ShellLinks()->Count(), links - 1);
  EXPECT_EQ(Form->FindComponent("ToTool"), nullptr);
}

TEST_F(Links, OneMainGroupWhoseLinksStayInIt) {
  TTestEngine engine(nullptr);
  engine.Info.SetProductName("Stavrel");
  EXPECT_EQ(ErrorText<IEInstallShellLink>([&] { new TInstallMainLink(Form.get()); }),
            "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
  auto* group = new TMainLinkGroup(Form.get());
  EXPECT_EQ(group->DestDir(), "\\Stavrel");
  EXPECT_EQ(group->RegisteredType(), rtLinkGroup);
  TCustomPathSpecifier* programs = StandardPathSpecifiers()->FindByClass(TpsProgramMenu::StaticClass());
  EXPECT_EQ(group->DestDirType(), programs);
  group->SetDestDirType(StandardPathSpecifiers()->FindByClass(TpsWindow::StaticClass()));
  EXPECT_EQ(group->DestDirType(), programs);
  EXPECT_EQ(ErrorText<IEShellLinkGroup>([&] { new TMainLinkGroup(Form.get()); }),
            "You can only have one TMainLinkGroup component in your project");

  auto* link = new TInstallMainLink(Form.get());
  EXPECT_EQ(link->Container(), group);
  EXPECT_EQ(link->RegisteredType(), rtShellLink);
  EXPECT_EQ(MainLinks()->Count(), 1);
  EXPECT_EQ(ErrorText<IEInstallShellLink>([&] { link->SetContainer(&engine); }),
            "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components");
  EXPECT_EQ(link->GetFullDestDir(), group->GetFullDestDir());
  // The group goes with its Container, its links with it, and the slot is free.
  auto* folder = new TInstallDirectory(Form.get());
  group->SetContainer(folder);
  folder->Free();
  EXPECT_EQ(MainLinkGroup(), nullptr);
  EXPECT_EQ(MainLinks()->Count(), 0);
  // Without the engine the group takes a placeholder folder.
  fw::TComponent* alone = new fw::TComponent(nullptr);
  {
    TMainLinkGroup again(alone);
    EXPECT_EQ(again.DestDir(), "\\Stavrel");
  }
  alone->Free();
  EXPECT_THROW(ShellLinks()->Add(nullptr), IEInstallShellLinkList);
}

TEST_F(Links, AConfigurationLoadsItsLinksAsStored) {
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  fw::ReadComponentFromText(form.get(), R"(object Setup: TForm
  object Tool: TInstallFile
    DestName = 'tool.exe'
    DestDir = 'C:\Stavrel'
  end
  object Menu: TMainLinkGroup
    DestDir = '\Stavrel Tools'
  end
  object ToolLink: TInstallMainLink
    LinkName = 'Tool'
    ObjectLink = Tool
    ObjectLocationType = psObjectLink
    Method = mtShellLinkInterface
    HotKey = 1620
    Parameters = '%i'
  end
  object Web: TInstallShellLink
    DestDirType = psDesktopMenu
    LinkName = 'Site.url'
    ObjectLocation = 'http://www.example.com/'
    HardLink = True
    IconIndex = 3
  end
  object Uninstaller: TUninstallEXE
    DestName = 'uninstall.exe'
  end
end
)",
                            "TFORM");
  auto* group = dynamic_cast<TMainLinkGroup*>(form->FindComponent("Menu"));
  auto* link = dynamic_cast<TInstallMainLink*>(form->FindComponent("ToolLink"));
  auto* web = dynamic_cast<TInstallShellLink*>(form->FindComponent("Web"));
  ASSERT_NE(group, nullptr);
  ASSERT_NE(link, nullptr);
  ASSERT_NE(web, nullptr);
  ASSERT_NE(dynamic_cast<TUninstallEXE*>(form->FindComponent("Uninstaller")), nullptr);
  EXPECT_EQ(group->DestDir(), "\\Stavrel Tools");
  EXPECT_EQ(group->DestDirType(), form->FindComponent("psProgramMenu"));
  // Stored values stand as they are: the setters' rules apply to later changes.
  EXPECT_EQ(link->LinkName(), "Tool");
  EXPECT_EQ(link->Container(), group);
  EXPECT_EQ(link->DestDirType(), form->FindComponent("psContainerDestDir"));
  EXPECT_EQ(link->ObjectLink(), form->FindComponent("Tool"));
  EXPECT_EQ(link->ObjectLocationType(), form->FindComponent("psObjectLink"));
  EXPECT_EQ(link->Method(), mtShellLinkInterface);
  EXPECT_EQ(link->HotKey(), 1620);
  EXPECT_EQ(link->Parameters(), "%i");
  EXPECT_EQ(link->GetObjectPath(), "C:\\Stavrel\\tool.exe");
  EXPECT_EQ(web->DestDirType(), form->FindComponent("psDesktopMenu"));
  EXPECT_EQ(web->LinkName(), "Site.url");
  EXPECT_EQ(web->ObjectLocation(), "http://www.example.com/");
  EXPECT_TRUE(web->HardLink());
  EXPECT_EQ(web->IconIndex(), 3);
  EXPECT_TRUE(web->IsURLLink());
}

// --- the files a link writes ----------------------------------------------------------

struct TReadLink {
  std::string Path, Arguments, WorkingDir, IconPath;
  int IconIndex = -1;
  WORD HotKey = 0;
};

TReadLink ReadShellLink(const std::string& File) {
  TReadLink read;
  CoInitialize(nullptr);
  {
    Microsoft::WRL::ComPtr<IShellLinkA> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(link.GetAddressOf())),
              S_OK);
    Microsoft::WRL::ComPtr<IPersistFile> persist;
    EXPECT_EQ(link.As(&persist), S_OK);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, File.c_str(), -1, wide, MAX_PATH);
    EXPECT_EQ(persist->Load(wide, STGM_READ), S_OK);
    char buffer[MAX_PATH] = {};
    link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
    read.Path = buffer;
    link->GetArguments(buffer, MAX_PATH);
    read.Arguments = buffer;
    link->GetWorkingDirectory(buffer, MAX_PATH);
    read.WorkingDir = buffer;
    link->GetIconLocation(buffer, MAX_PATH, &read.IconIndex);
    read.IconPath = buffer;
    link->GetHotkey(&read.HotKey);
  }
  CoUninitialize();
  return read;
}

TEST_F(Links, AShellLinkFileReadsBackThroughTheShell) {
  TInstallFile* tool = NewTarget("tool.exe", true);
  TInstallShellLink* link = NewLink("Tool");
  link->SetObjectLink(tool);
  link->SetContainer(nullptr);
  link->SetDestDirType(nullptr);
  link->SetDestDir(Scratch / "menu\\Product");
  link->SetMethod(mtShellLinkInterface);
  link->SetParameters("/w:%w %%x");
  link->SetIconFilePath(Scratch / "app\\tool.exe");
  link->SetIconIndex(2);
  link->SetHotKey(MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT));
  link->Process();
  EXPECT_TRUE(link->Done());
  ASSERT_TRUE(FileExists(Scratch / "menu\\Product\\tool.lnk"));
  std::string windows = GetWindowsDir();
  if (windows.back() == '\\') windows.pop_back();
  TReadLink read = ReadShellLink(link->GetLinkFileName());
  EXPECT_EQ(read.Path, Scratch / "app\\tool.exe");
  EXPECT_EQ(read.Arguments, "/w:" + windows + " %x");
  EXPECT_EQ(read.WorkingDir, Scratch / "app");  // the target's folder
  EXPECT_EQ(read.IconPath, Scratch / "app\\tool.exe");
  EXPECT_EQ(read.IconIndex, 2);
  EXPECT_EQ(read.HotKey, MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT));
  EXPECT_FALSE(link->ComInitialized());  // COM is put back as it was

  link->SetWorkingDir("C:\\Work");
  link->SetLinkName("Second.lnk");
  link->Process();
  EXPECT_EQ(ReadShellLink(link->GetLinkFileName()).WorkingDir, "C:\\Work");

  // A name the shell's buffer cannot hold is refused before anything is written; an
  // error that is no COM error is reported without a code.
  link->SetLinkName(std::string(260, 'n') + ".lnk");
  EXPECT_EQ(ErrorText<IEInstallShellLink>([&] { link->CreateShellLink(); }),
            "The TCustomInstallShellLink " + link->Name() +
                " name could not be installed. The following error was reported The link file name " +
                link->GetLinkFileName() + " of " + link->Name() + " is longer than 259 characters");
  EXPECT_FALSE(FileExists(link->GetLinkFileName()));
}

TEST_F(Links, WhatTheWindowsVersionAndTheTargetDecide) {
  TInstallFile* tool = NewTarget("tool.exe", true);
  TInstallShellLink* link = NewLink("Auto");
  link->SetObjectLocation(tool->GetDestFileName());
  // No shortcuts on a Windows the installer does not know, unless asked for outright.
  gVersion = {2, 3, 51};
  link->Install();
  EXPECT_FALSE(FileExists(link->GetLinkFileName()));
  link->SetMethod(mtShellLinkInterface);
  link->Install();
  EXPECT_TRUE(FileExists(link->GetLinkFileName()));

  // A target left out of this run, on a Windows that makes links: no link file, and the
  // link is not done.
  gVersion = {2, 5, 1};
  TInstallFile* skipped = NewTarget("skipped.exe", false);
  TInstallShellLink* toSkipped = NewLink("Skipped");
  toSkipped->SetObjectLink(skipped);
  toSkipped->SetContainer(nullptr);
  toSkipped->SetDestDirType(nullptr);
  toSkipped->SetDestDir(Scratch / "menu");
  toSkipped->Process();
  EXPECT_FALSE(toSkipped->Done());
  EXPECT_FALSE(FileExists(toSkipped->GetLinkFileName()));

  TInstallShellLink* blank = NewLink("Blank");
  EXPECT_EQ(ErrorText<IEInstallShellLink>([&] { blank->Install(); }),
            "The LinkName is blank for Blank and therefore could not be installed");
}

TEST_F(Links, URLFilesAndHardLinks) {
  TInstallShellLink* web = NewLink("Web");
  web->SetObjectLocation("http://www.example.com/start.html");
  web->Process();
  char url[256] = {};
  GetPrivateProfileStringA("InternetShortcut", "URL", "", url, sizeof url, web->GetLinkFileName().c_str());
  EXPECT_STREQ(url, "http://www.example.com/start.html");

  gVersion = {2, 5, 1};  // XP makes hard links when asked
  TInstallFile* tool = NewTarget("tool.exe", true);
  TInstallShellLink* hard = NewLink("Hard");
  hard->SetObjectLink(tool);
  hard->SetContainer(nullptr);
  hard->SetDestDirType(nullptr);
  hard->SetDestDir(Scratch / "menu\\hard");
  hard->SetLinkName("tool copy.exe");
  hard->SetHardLink(true);
  hard->Process();
  // One file under two names; the name keeps the target's extension, not ".LNK".
  const std::string copy = Scratch / "menu\\hard\\tool copy.exe";
  ASSERT_TRUE(FileExists(copy));
  EXPECT_FALSE(FileExists(hard->GetLinkFileName()));
  WriteFile(tool->GetDestFileName(), "changed");
  EXPECT_EQ(ReadFile(copy), "changed");

  // A link named after its target ("tool.lnk") is "tool.exe", and opens as the program.
  const std::string program = GetSystemDir() + "\\hostname.exe";
  ASSERT_TRUE(CopyFileA(program.c_str(), tool->GetDestFileName().c_str(), FALSE));
  TInstallShellLink* named = NewLink("Named");
  named->SetObjectLink(tool);
  named->SetContainer(nullptr);
  named->SetDestDirType(nullptr);
  named->SetDestDir(Scratch / "menu\\named");
  named->SetHardLink(true);
  named->Process();
  const std::string opened = Scratch / "menu\\named\\tool.exe";
  SHELLEXECUTEINFOA run{sizeof run};
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  run.lpFile = opened.c_str();
  run.nShow = SW_HIDE;
  ASSERT_TRUE(ShellExecuteExA(&run)) << GetLastError();
  fw::TKernelHandle process(run.hProcess);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.Get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);

  DeleteFileA(tool->GetDestFileName().c_str());
  hard->SetLinkName("again.lnk");
  EXPECT_EQ(ErrorText<IEInstallShellLink>([&] { hard->Install(); }),
            "Could not create hardlink for Hard: its target " + tool->GetDestFileName() + " is not an existing file");
  EXPECT_FALSE(MakeHardLink(Scratch / "x", Scratch / "missing", nullptr));
}

// --- the uninstall log and the Add/Remove Programs values ------------------------------

class TAddRemoveEngine : public TTestEngine, public IAddRemoveInformationSource {
 public:
  using TTestEngine::TTestEngine;
  TControlPanelExtensionInformation Extended;
  TRegistrationInformation Registration;
  const TControlPanelExtensionInformation& EngineExtendedInformation() const override { return Extended; }
  const TRegistrationInformation& EngineRegistrationInformation() const override { return Registration; }
};

std::vector<std::pair<std::string, std::string>> ValuesOf(const std::string& Key) {
  std::vector<std::pair<std::string, std::string>> values;
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key.c_str() + 1, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    char name[256];
    BYTE data[1024];
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    if (RegEnumValueA(key.Get(), i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    values.emplace_back(name, std::string(reinterpret_cast<char*>(data)));
  }
  return values;
}

TEST_F(Links, TheUninstallerWritesTheAddRemoveValues) {
  auto* engine = new TAddRemoveEngine(Form.get());
  engine->Info.SetProductName("  Stavrel Links " + kPid + " ");
  engine->Info.SetCompanyName("Maker");
  engine->Info.SetVersion("");
  const std::string key = std::string(kUninstallRootKey) + "Stavrel Links " + kPid;
  auto* uninstaller = new TUninstallEXE(Form.get());
  uninstaller->SetName("Uninstaller");
  EXPECT_TRUE(uninstaller->Net());
  uninstaller->SetDestDirType(nullptr);
  uninstaller->SetDestDir("C:\\App");
  uninstaller->SetDestName("uninstall.exe");
  TInstallFile* readme = NewTarget("readme.txt", true);
  TInstallFile* icon = NewTarget("icon.ico", false);
  engine->Extended.SetComments("Tools");
  engine->Extended.SetURLInfoAbout("http://example.com");
  engine->Extended.SetReadMe(readme);
  engine->Extended.SetDisplayIcon(icon);  // not installed in this run: no value
  engine->Registration.SetRegOwner("Owner");
  uninstaller->WriteUninstallInfo(key);
  using V = std::vector<std::pair<std::string, std::string>>;
  V written = ValuesOf(key);
  std::sort(written.begin(), written.end());
  // Sorted by name: the registry does not keep the order of writing.
  EXPECT_EQ(written, (V{{"Comments", "Tools"},
                        {"DisplayName", "Stavrel Links " + kPid},
                        {"Publisher", "Maker"},
                        {"Readme", readme->GetDestFileName()},
                        {"RegOwner", "Owner"},
                        {"URLInfoAbout", "http://example.com"},
                        {"UninstallString", "\"C:\\App\\uninstall.exe\" Stavrel Links " + kPid}}));
  // The program is logged too: installed again into another folder, the product's log
  // still names the first folder's program.
  EXPECT_EQ(ReadRegString(hkLocalMachine, key + "\\Files", "File1", "-"), "C:\\App\\uninstall.exe");
  DeleteRegKeyTree(hkLocalMachine, key);

  // The uninstaller's shortcut passes the product name.
  engine->Info.SetProductName("Stavrel Links " + kPid);
  TInstallShellLink* link = NewLink("Remove");
  uninstaller->SetDone(true);
  link->SetObjectLink(uninstaller);
  link->SetContainer(nullptr);
  link->SetDestDirType(nullptr);
  link->SetDestDir(Scratch / "menu");
  link->Install();
  EXPECT_EQ(link->Parameters(), "Stavrel Links " + kPid);
  // The shortcut is logged for the uninstaller.
  link->Process();
  EXPECT_EQ(ReadRegString(hkLocalMachine, key + "\\Files", "File1", "-"), link->GetLinkFileName());
  DeleteRegKeyTree(hkLocalMachine, key);

  engine->Free();
  EXPECT_EQ(ErrorText<IEUninstallEXE>([&] { uninstaller->WriteUninstallInfo(key); }),
            "Uninstaller could not write information about the uninstall to the registry because there was no "
            "TInstall component");
}

TEST_F(Links, ADesignerFindsTheUninstallerBesideTheLibrary) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\'));
  ASSERT_TRUE(FileExists(folder + "\\uninstall.exe"));  // the build puts it there
  fw::TOwnedPtr<fw::TForm> designed(new fw::TForm(nullptr));
  designed->SetDesigning(true);
  auto* uninstaller = new TUninstallEXE(designed.get());
  EXPECT_EQ(uninstaller->IncludeFromDir(), folder);
  EXPECT_EQ(uninstaller->FileName(), "uninstall.exe");
  EXPECT_EQ(uninstaller->DestName(), "uninstall.exe");
  auto* running = new TUninstallEXE(Form.get());
  EXPECT_EQ(running->FileName(), "");
}

}  // namespace
