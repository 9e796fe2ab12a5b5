#include "SimServer.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "gui/WinHandles.h"

namespace nwtest {

namespace {

int gServerCount = 0;

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA data;
  fw::TFindHandle find(FindFirstFileA((dir + "\\*").c_str(), &data));
  if (find) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find.Get(), &data));
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace

TSimServer::TSimServer(const std::vector<std::string>& ExtraConfig, const std::string& Name, const std::string& Root) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  FRoot = !Root.empty() ? Root
                        : std::string(temp) + "nwsim-" + std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(++gServerCount);
  RemoveTree(FRoot);
  CreateDirectoryA(FRoot.c_str(), nullptr);
  CreateDirectoryA((FRoot + "\\SYS").c_str(), nullptr);
  CreateDirectoryA((FRoot + "\\SYS\\SYSTEM").c_str(), nullptr);
  CreateDirectoryA((FRoot + "\\VOL1").c_str(), nullptr);
  for (const char* module : {"VX4LIB.NLM", "VX4LIB.312", "VX4CS.NLM", "VX4RC.NLM", "TUVEK.NLM", "CLIBAUX.NLM"})
    WriteFile("SYS", std::string("SYSTEM\\") + module, "module");
  std::ostringstream config;
  config << "server " << Name << "\r\n"
         << "version 411\r\n"
         << "volume SYS " << FRoot << "\\SYS\r\n"
         << "volume VOL1 " << FRoot << "\\VOL1\r\n"
         << "namespace VOL1 0\r\n"
         << "state " << FRoot << "\\server.state\r\n";
  for (const std::string& line : ExtraConfig) config << line << "\r\n";
  std::ofstream(FRoot + "\\server.ini", std::ios::binary) << config.str();
  SetEnvironmentVariableA("NWSIM_CONFIG", (FRoot + "\\server.ini").c_str());
}

TSimServer::~TSimServer() {
  SetEnvironmentVariableA("NWSIM_CONFIG", nullptr);
  RemoveTree(FRoot);
}

std::string TSimServer::HostPath(const std::string& Volume, const std::string& Path) const {
  return FRoot + "\\" + Volume + "\\" + Path;
}

void TSimServer::WriteFile(const std::string& Volume, const std::string& Path, const std::string& Data) const {
  std::ofstream(HostPath(Volume, Path), std::ios::binary) << Data;
}

bool TSimServer::FileExists(const std::string& Volume, const std::string& Path) const {
  return GetFileAttributesA(HostPath(Volume, Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TSimServer::ReadFile(const std::string& Volume, const std::string& Path) const {
  std::ifstream in(HostPath(Volume, Path), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Deletions() {
  std::string text(static_cast<size_t>(nwsim_Deletions(nullptr, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(nwsim_Deletions(text.data(), static_cast<int>(text.size()))));
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TSentRequest LastRequest() {
  TSentRequest r;
  r.Bytes.resize(4096);
  int n =
      nwsim_LastExtensionRequest(r.Bytes.data(), static_cast<int>(r.Bytes.size()), &r.ExtensionId, &r.ReplyCapacity);
  r.Bytes.resize(std::min<size_t>(n, 4096));
  return r;
}

}  // namespace nwtest
