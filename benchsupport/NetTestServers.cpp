#include "NetTestServers.h"

#include <windows.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace benchsupport {

namespace {

constexpr char kPython[] = "/usr/bin/python3";
constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kStopTimeoutMs = 5000;

// The Unix name of a Windows path, through Wine's own export.
std::string UnixName(const std::string& WindowsPath) {
  using Fn = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) throw std::runtime_error("the test servers need Wine");
  std::wstring wide(WindowsPath.begin(), WindowsPath.end());
  char* name = toUnix(wide.c_str());
  if (name == nullptr) throw std::runtime_error("no Unix name for " + WindowsPath);
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// This program's Unix process number: the first field of /proc/self/stat.
int UnixProcessId() {
  std::string stat = benchsupport::ReadFile("Z:\\proc\\self\\stat");
  return std::stoi(stat);
}

// The servers' script, in servers/ beside this source file.
std::string ScriptPath() {
  std::string source = __FILE__;
  return source.substr(0, source.find_last_of("/\\")) + "/servers/NetTestServers.py";
}

}  // namespace

TNetTestServers::TNetTestServers() : FPortsFile(FScratch / "ports.txt") {
  CreateDirectoryA(Root().c_str(), nullptr);
  std::string command = std::string(kPython) + " " + ScriptPath() + " --root " + UnixName(Root()) + " --ports-file " +
                        UnixName(FScratch.Path()) + "/ports.txt --watch-pid " + std::to_string(UnixProcessId());
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    throw std::runtime_error("cannot start the test servers: " + command);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DWORD start = GetTickCount();
  while (!benchsupport::FileExists(FPortsFile)) {
    if (GetTickCount() - start > kStartTimeoutMs) throw std::runtime_error("the test servers did not start");
    Sleep(20);
  }
  std::istringstream ports(benchsupport::ReadFile(FPortsFile));
  std::string name;
  int port = 0;
  while (ports >> name >> port) (name == "http" ? FHttpPort : FFtpPort) = static_cast<uint16_t>(port);
  if (FHttpPort == 0 || FFtpPort == 0) throw std::runtime_error("the test servers gave no ports");
}

TNetTestServers::~TNetTestServers() {
  benchsupport::WriteFile(FPortsFile + ".stop", "");
  DWORD start = GetTickCount();
  while (benchsupport::FileExists(FPortsFile) && GetTickCount() - start < kStopTimeoutMs) Sleep(20);
}

std::vector<std::string> TNetTestServers::HttpRequests() const {
  std::vector<std::string> paths;
  const std::string log = FPortsFile + ".requests";
  if (!benchsupport::FileExists(log)) return paths;
  std::istringstream lines(benchsupport::ReadFile(log));
  for (std::string line; std::getline(lines, line);) paths.push_back(line);
  return paths;
}

void TNetTestServers::Put(const std::string& Relative, const std::string& Content) const {
  benchsupport::WriteFile(FScratch / ("root\\" + Relative), Content);
}

TNetTestServers& SharedServers() {
  static std::unique_ptr<TNetTestServers> servers = std::make_unique<TNetTestServers>();
  return *servers;
}

std::string PatternBytes(size_t Count, int Seed) {
  std::string bytes(Count, '\0');
  for (size_t i = 0; i < Count; ++i) bytes[i] = static_cast<char>((i * 7 + static_cast<size_t>(Seed)) % 251);
  return bytes;
}

}  // namespace benchsupport
