// The loader program that a build puts at the start of "setup.exe". It finds the
// installer's archive "setup.1" (inside itself, or beside it on the first floppy disk),
// unpacks it into a fresh temporary folder of its own, starts the installer from there and
// waits for it. The installer reads "files.1" where the setup file keeps it (switch e) and
// removes the temporary folder at its end (switch c); whatever the installer's end, the
// loader removes what is left of the folder, unless a restart is pending: the
// continuation after it starts the installer from there. The exit code is the
// installer's (engine/ExitCodes.h), or ecFailed when it could not be started.
//
//   setup.exe            install
//   setup.exe *TODISK    copy the setup onto floppy disks (the installer's switch f)
#include <windows.h>

#include <string>
#include <vector>

#include "SetupParts.h"
#include "archive/ArchiveStartup.h"
#include "archive/ArchiveText.h"
#include "archive/QnlkCompress.h"
#include "engine/ExitCodes.h"
#include "engine/SelfExtractRecord.h"
#include "gui/GuiStartup.h"
#include "gui/WinHandles.h"
#include "support/PathStrings.h"
#include "support/Sha0.h"
#include "support/SupportStartup.h"

namespace {

using loader::ELoader;
using loader::TSetupParts;

std::string ModuleFileName() {
  std::vector<char> name(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n == 0) throw ELoader("The setup program cannot find its own file");
    if (n < name.size()) return std::string(name.data(), n);
    name.resize(name.size() * 2);
  }
}

// The empty file that marks the folder as the one this loader made for the run.
constexpr char kFolderMark[] = "~loader.tag";

// A new folder below the system's temporary folder that no one else uses: it is created
// here, so it did not exist before.
std::string CreateOwnFolder() {
  char temp[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n > MAX_PATH) throw ELoader("The temporary folder cannot be found");
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::string folder = setup::IncludeTrailingBackslash(temp) +
                               fw::Format("QLoad%u-%u.tmp", GetCurrentProcessId(), GetTickCount() + attempt);
    if (CreateDirectoryA(folder.c_str(), nullptr)) {
      // The mark by which the installer knows the folder as the loader's, to be removed
      // at its end.
      fw::TFileHandle mark(CreateFileA((folder + "\\" + kFolderMark).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!mark.Valid()) {
        RemoveDirectoryA(folder.c_str());
        throw ELoader(fw::Format("Cannot create the temporary folder %s", folder));
      }
      return folder;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS)
      throw ELoader(fw::Format("Cannot create the temporary folder %s", folder));
  }
  throw ELoader("Cannot create a temporary folder");
}

void RemoveFolder(const std::string& Folder) {
  WIN32_FIND_DATAA data;
  fw::TFindHandle find(FindFirstFileA((Folder + "\\*").c_str(), &data));
  if (find.Valid()) {
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        DeleteFileA((Folder + "\\" + data.cFileName).c_str());
    } while (FindNextFileA(find.Get(), &data));
  }
  find.Reset();
  RemoveDirectoryA(Folder.c_str());
}

// Unpacks every file of setup.1 into Folder; the installer program (its first file).
std::string Unpack(const TSetupParts& Parts, const std::string& Folder) {
  setup::TQnlkCompress archive(nullptr);
  archive.SetCompressedFile(Parts.Archive);
  archive.SetOffset(Parts.Offset);
  archive.SetOverwrite(setup::owAlways);
  const std::vector<std::string> names = loader::ArchiveFileNames(archive);
  if (names.empty()) throw ELoader(fw::Format("The setup file %s holds no installer program", Parts.Archive));
  const std::string installer = setup::IncludeTrailingBackslash(Folder) + setup::ExtractFileName(names.front());
  for (const std::string& name : names) archive.FilesToProcess()->Add(name);
  archive.SetExtractDirectory(Folder);
  archive.Extract();
  if (GetFileAttributesA(installer.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw ELoader(fw::Format("The installer program %s could not be unpacked", installer));
  return installer;
}

// Appends " followed by the parts, then ", to Command.
void AppendQuoted(std::string& Command, const std::string& Prefix, const std::string& Argument) {
  Command.push_back('"');
  Command.append(Prefix).append(Argument);
  Command.push_back('"');
}

// Runs the installer and waits for it; its exit code.
DWORD RunInstaller(const std::string& Installer, const std::string& Folder, const std::string& Self,
                   const TSetupParts& Parts, bool ToDisk) {
  const std::string sourceDir = setup::RemoveTrailingBackslash(setup::ExtractFilePath(Self));
  std::string command;
  AppendQuoted(command, "", Installer);
  command += ' ';
  AppendQuoted(command, "-s", sourceDir);
  if (Parts.SelfExtracting) {
    command += ' ';
    AppendQuoted(command, "-e", setup::ExtractFileName(Self));
  }
  command += " -c";
  if (ToDisk) command += " -f";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (!CreateProcessA(Installer.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(), &startup,
                      &process))
    throw ELoader(fw::Format("Cannot start the installer program %s (error %u)", Installer,
                             static_cast<unsigned>(GetLastError())));
  fw::TKernelHandle processHandle(process.hProcess), thread(process.hThread);
  WaitForSingleObject(processHandle.Get(), INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(processHandle.Get(), &exitCode);
  return exitCode;
}

bool AskedForDisks() {
  for (int i = 1; i < __argc; ++i)
    if (lstrcmpiA(__argv[i], "*TODISK") == 0) return true;
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int) {
  fw::TStartedLibraries libraries(
      {fw::CoreLibrary(), fw::GuiLibrary(Instance), setup::SupportLibrary(), setup::ArchiveLibrary()});
  std::string folder;
  try {
    const std::string self = ModuleFileName();
    const TSetupParts parts = loader::LocateParts(self);
    folder = CreateOwnFolder();
    const std::string installer = Unpack(parts, folder);
    const DWORD exitCode = RunInstaller(installer, folder, self, parts, AskedForDisks());
    // A failed or cancelled installer may have left the folder; only the continuation
    // after a restart still needs it (and removes it then).
    if (exitCode != setup::ecRestartPending) RemoveFolder(folder);
    return static_cast<int>(exitCode);
  } catch (const std::exception& e) {
    // The installer never ran: the folder is still ours to remove.
    if (!folder.empty()) RemoveFolder(folder);
    MessageBoxA(nullptr, e.what(), "Setup", MB_OK | MB_ICONERROR);
    return setup::ecFailed;
  }
}
