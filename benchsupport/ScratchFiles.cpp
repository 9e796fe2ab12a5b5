// Scratch folders, tree removal and whole-file helpers on the Win32 "A" functions.
#include "ScratchFiles.h"

#include <windows.h>

#include <stdexcept>

#include "gui/WinHandles.h"

namespace benchsupport {

namespace {

DWORD Attributes(const std::string& Path) {
  return GetFileAttributesA(Path.c_str());
}

bool DeleteOneFile(const std::string& FileName) {
  SetFileAttributesA(FileName.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(FileName.c_str()) != FALSE;
}

// Every parent folder of FileName that is missing, outermost first.
void MakeParentFolders(const std::string& FileName) {
  for (std::size_t at = FileName.find_first_of("\\/", 3); at != std::string::npos;
       at = FileName.find_first_of("\\/", at + 1))
    CreateDirectoryA(FileName.substr(0, at).c_str(), nullptr);
}

}  // namespace

bool RemoveTree(const std::string& Path) {
  DWORD attributes = Attributes(Path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return DeleteOneFile(Path);
  WIN32_FIND_DATAA found;
  fw::TFindHandle find(FindFirstFileA((Path + "\\*").c_str(), &found));
  if (find) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      RemoveTree(Path + "\\" + name);
    } while (FindNextFileA(find.Get(), &found));
  }
  find.Reset();
  SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(Path.c_str());
  return Attributes(Path) == INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::string& FileName, const std::string& Content) {
  MakeParentFolders(FileName);
  fw::TFileHandle file(
      CreateFileA(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create " + FileName);
  DWORD written = 0;
  if (!::WriteFile(file.Get(), Content.data(), static_cast<DWORD>(Content.size()), &written, nullptr) ||
      written != Content.size())
    throw std::runtime_error("cannot write " + FileName);
}

std::string ReadFile(const std::string& FileName) {
  fw::TFileHandle file(CreateFileA(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot open " + FileName);
  std::string content;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  return content;
}

bool FileExists(const std::string& Path) {
  DWORD attributes = Attributes(Path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& Path) {
  DWORD attributes = Attributes(Path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> NamesIn(const std::string& Folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  fw::TFindHandle find(FindFirstFileA((Folder + "\\*").c_str(), &found));
  if (!find) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find.Get(), &found));
  return names;
}

std::string ProgramFolder() {
  char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program(path, length < MAX_PATH ? length : 0);
  const size_t slash = program.find_last_of('\\');
  return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

std::string BesideProgram(const std::string& Name) {
  return ProgramFolder() + "\\" + Name;
}

TScratchFolder::TScratchFolder(const std::string& Prefix) {
  char temp[MAX_PATH];
  DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("no temporary folder");
  std::string base = std::string(temp) + Prefix + "-" + std::to_string(GetCurrentProcessId()) + "-";
  // CreateDirectory fails on a name already taken, so a clash only moves on to the next.
  DWORD number = GetTickCount();
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::string candidate = base + std::to_string(number++);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      FPath = candidate;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + candidate);
  }
  throw std::runtime_error("no free scratch folder name at " + base);
}

TScratchFolder::~TScratchFolder() {
  RemoveTree(FPath);
}

}  // namespace benchsupport
