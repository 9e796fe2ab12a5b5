#include "GoToWeb.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include "core/ClassDef.h"
#include "gui/WinHandles.h"

namespace toolpage {

namespace {

std::string gBrowserParameters;

const fw::TEnumInfo kBrowserStateInfo{"TBrowserState", {"gwMaximized", "gwNormal"}};

// A key of HKEY_CLASSES_ROOT opened for reading; no handle when it cannot be opened.
fw::TRegKeyHandle OpenClassKey(const std::string& Path) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, Path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) key.Release();
  return key;
}

// The key's default value, at most 1025 characters; empty when there is none.
std::string DefaultValue(const fw::TRegKeyHandle& Key) {
  DWORD size = 0;
  if (!Key || RegQueryValueExA(Key.Get(), nullptr, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
    return "";
  if (size > 1026) size = 1026;
  std::string value(size, '\0');
  if (RegQueryValueExA(Key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS)
    return "";
  value.resize(strnlen(value.c_str(), size));
  return value;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

const fw::TClass& TGoToWeb::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TGoToWeb>()
          .Creatable()
          .String("Url", &TGoToWeb::Url, &TGoToWeb::SetUrl)
          .String("EMail", &TGoToWeb::EMail, &TGoToWeb::SetEMail)
          .String("EMailSubject", &TGoToWeb::EMailSubject, &TGoToWeb::SetEMailSubject)
          .Enum("BrowserState", kBrowserStateInfo, &TGoToWeb::BrowserState, &TGoToWeb::SetBrowserState);
  return cls;
}

std::string FindBrowserCommand() {
  for (const char* ext : {".HTM", ".HTML", ".SHTML", ".SHTM"}) {
    fw::TRegKeyHandle extKey = OpenClassKey(ext);
    if (!extKey) continue;
    std::string fileType = DefaultValue(extKey);
    if (!fileType.empty()) {
      std::string command = DefaultValue(OpenClassKey(fileType + "\\shell\\open\\command"));
      if (!command.empty()) return command;
    }
    std::string command = DefaultValue(OpenClassKey(std::string(ext) + "\\shell\\open\\command"));
    if (!command.empty()) return command;
  }
  return "";
}

void SplitBrowserCommand(const std::string& Command, std::string& Program, std::string& Parameters) {
  Program = Command;
  Parameters.clear();
  size_t end = std::string::npos;
  for (size_t i = Command.size() >= 4 ? Command.size() - 4 + 1 : 0; i-- > 0;) {
    std::string four = fw::UpperCase(Command.substr(i, 4));
    if (four == ".EXE" || four == ".BAT" || four == ".COM") {
      end = i + 4;
      break;
    }
  }
  // Without a known extension the whole command is the program.
  if (end != std::string::npos && end < Command.size()) {
    std::string tail = fw::Trim(Command.substr(end));
    std::string unquoted;
    for (char c : tail)
      if (c != '"') unquoted += c;
    std::string params;
    for (size_t i = 0; i < unquoted.size();) {
      if (unquoted[i] == '%') {
        while (i < unquoted.size() && !IsBlank(unquoted[i])) ++i;
      } else {
        params += unquoted[i++];
      }
    }
    Parameters = fw::Trim(params);
    Program = Command.substr(0, end);
  }
  if (!Program.empty() && Program[0] == '"') Program.erase(0, 1);
}

const std::string& BrowserParameters() {
  return gBrowserParameters;
}
void FinalizeGoToWeb() {
  gBrowserParameters.clear();
}

std::string TGoToWeb::GetBrowserProgram() {
  std::string command = FindBrowserCommand();
  if (command.empty()) return "";
  std::string program;
  SplitBrowserCommand(command, program, gBrowserParameters);
  return program;
}

int BrowserStateToShowCmd(TBrowserState State) {
  return State == gwMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
}

bool TGoToWeb::OpenUrl() {
  std::string program = GetBrowserProgram();
  if (program.empty()) return false;
  std::string args = FUrl + " " + gBrowserParameters;
  HINSTANCE result =
      ShellExecuteA(nullptr, nullptr, program.c_str(), args.c_str(), nullptr, BrowserStateToShowCmd(FBrowserState));
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace toolpage
