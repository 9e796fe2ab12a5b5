#include "TuvekHarness.h"

#include <fstream>
#include <iterator>

#include "Files.h"
#include "UiDriver.h"

namespace tuvektest {

const char* const kPageClassKey = "CLSID\\{5027C520-4434-11D2-8352-00A024D5AE34}";

namespace {
const char* const kServer = "NWTUVEK";
const std::string kUncRoot = std::string(NWSIM_UNC_ROOT) + "\\" + kServer;
}  // namespace

std::string LibraryPath() {
  return testsupport::BesideProgram("Tuvek.kvx");
}

const CLSID& PageClassId() {
  static const CLSID id = {0x5027C520, 0x4434, 0x11D2, {0x83, 0x52, 0x00, 0xA0, 0x24, 0xD5, 0xAE, 0x34}};
  return id;
}

TSavedPageRegistry::TSavedPageRegistry() {
  using testsupport::TSavedRegistryTree;
  for (const char* path : {kPageClassKey, "TuvekPage.ToolPageX", "TypeLib\\{5027C521-4434-11D2-8352-00A024D5AE34}",
                           "Interface\\{5BE6A7FC-1FED-11D2-8309-00A024D5AE34}"})
    FTrees.push_back(std::make_unique<TSavedRegistryTree>(HKEY_CLASSES_ROOT, path));
  FTrees.push_back(std::make_unique<TSavedRegistryTree>(HKEY_LOCAL_MACHINE, "Software\\Kavel\\Stavrel\\Tools\\Tuvek"));
}

std::unique_ptr<nwtest::TSimServer> MakeServer(int Version, bool WithTool, const std::vector<std::string>& Extra) {
  // Names travel in OEM characters, as on a real server.
  std::vector<std::string> config = {"version " + std::to_string(Version), "oem-names yes"};
  config.insert(config.end(), Extra.begin(), Extra.end());
  auto server = std::make_unique<nwtest::TSimServer>(config, kServer, kUncRoot);
  for (const char* m : {"VX4CS.NLM", "VX4RC.NLM", "TUVEK.NLM", "CLIBAUX.NLM"})
    server->WriteFile("SYS", std::string("SYSTEM\\") + m, "needs VX4LIB\r\n");
  if (!WithTool) DeleteFileA(server->HostPath("SYS", "SYSTEM\\TUVEK.NLM").c_str());
  return server;
}

std::vector<std::string> ConsoleLines(const nwtest::TSimServer& Server) {
  std::ifstream in(Server.Root() + "\\server.state.console", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

TToolsFolder::TToolsFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  FPath = std::string(temp) + "tuvek-tools-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(FPath.c_str(), nullptr);
  testsupport::WriteFile(FPath + "\\TUVEK.NLM", "needs VX4LIB\r\n");
  testsupport::WriteFile(FPath + "\\DOWN.OKS", "\\@System Console\r\n");
  consolehost::WriteToolsKey(FPath);
}

TToolsFolder::~TToolsFolder() {
  testsupport::RemoveTree(FPath);
}

bool IsShown(HWND Window) {
  return Window != nullptr && IsWindowVisible(Window);
}

HWND PageButton(consolehost::TConsoleHost& Host, const std::string& Caption) {
  return testsupport::FindControl(Host.Window(), {Caption, "Button"});
}

TShownSheet ShownSheet(consolehost::TConsoleHost& Host) {
  if (IsShown(PageButton(Host, "Install"))) return TShownSheet::Install;
  if (IsShown(testsupport::FindControl(Host.Window(), {"", "TExToolBar"}))) return TShownSheet::Control;
  for (const testsupport::TControlInfo& control : testsupport::ListControls(Host.Window()))
    if (control.ClassName == "TPageSheet" && IsShown(control.Handle)) return TShownSheet::TooOld;
  return TShownSheet::None;
}

}  // namespace tuvektest
