#include "OfficeSpecifiers.h"

#include <windows.h>

#include "ShellFolders.h"
#include "core/ClassDef.h"
#include "gui/WinHandles.h"
#include "support/PathStrings.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

namespace setup {

namespace {

// The default value of a key under HKEY_CLASSES_ROOT; empty when it cannot be read.
std::string ClassesRootDefault(const std::string& Key) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, Key.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return std::string();
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > 65536)
    return std::string();
  std::string value(size, '\0');
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS)
    return std::string();
  value.resize(std::min<size_t>(size, value.size()));
  size_t end = value.find('\0');
  return end == std::string::npos ? value : value.substr(0, end);
}

bool FileExists(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The version of the program registered for ProgID: the last dotted part of its current
// ProgID ("Word.Document.8" gives 8), when its server program exists.
int GetOfficeVersionFromProgID(const std::string& ProgID) {
  std::string current = ClassesRootDefault(ProgID + "\\CurVer");
  std::string number = current;
  for (int part = 0; part < 2; ++part) {
    size_t dot = number.find('.');
    if (dot == std::string::npos) break;
    number = number.substr(dot + 1);
  }
  if (current.empty() || current.find('.') == std::string::npos) return -1;
  std::string server = ClassesRootDefault(current + "\\protocol\\StdFileEditing\\server");
  if (server.empty() || !FileExists(server)) return -1;
  int version = -1;
  return fw::TryStrToInt(number, version) ? version : -1;
}

bool SupportedVersion(int Version) {
  return Version >= 7 && Version <= 19;
}

// The root of the suite's settings for Version: plain for 7 and 8, under the policies
// key from 9 on.
std::string OfficeKey(int Version) {
  std::string base = Version <= 8 ? "\\Software\\Microsoft\\Office\\" : "\\Software\\Policies\\Microsoft\\Office\\";
  return base + std::to_string(Version) + ".0";
}

std::string ReadOfficePath(const std::string& Key, const std::string& ValueName, const std::string& Default) {
  return RemoveTrailingBackslash(ReadRegString(hkCurrentUser, Key, ValueName, Default));
}

std::string ProgramFilesPath(const std::string& SubPath) {
  return GetProgramFilesDir() + "\\" + SubPath;
}

std::string GetOfficeFileNewPath(int Version, const std::string& Name, const std::string& SubPath) {
  if (!SupportedVersion(Version)) return ProgramFilesPath(SubPath);
  return ReadOfficePath(OfficeKey(Version) + "\\Common\\FileNew\\" + Name, "", ProgramFilesPath(SubPath));
}

std::string GetWordOptionsPath(const std::string& ValueName, const std::string& SubPath) {
  int version = GetWordVersion();
  if (!SupportedVersion(version)) return ProgramFilesPath(SubPath);
  return ReadOfficePath(OfficeKey(version) + "\\Word\\Options", ValueName, ProgramFilesPath(SubPath));
}

constexpr char kUserTemplates[] = "LocalTemplates";
constexpr char kUserTemplatesFolder[] = "Microsoft Office\\Templates";

}  // namespace

int GetWordVersion() {
  try {
    return GetOfficeVersionFromProgID("Word.Document");
  } catch (const std::exception&) {
    return -1;
  }
}

#define SETUP_DEFINE_OFFICE_SPECIFIER(Class, Default, Description, Caption) \
  const fw::TClass& Class::StaticClass() {                                  \
    static const fw::TClass cls = fw::TClassDef<Class>().Creatable();       \
    return cls;                                                             \
  }                                                                         \
  Class::Class(fw::TComponent* AOwner) : TStandardPathSpecifier(AOwner) {   \
    FDefaultName = Default;                                                 \
  }                                                                         \
  std::string Class::GetDescription() const {                               \
    return Description;                                                     \
  }                                                                         \
  std::string Class::GetCaption() const {                                   \
    return Caption;                                                         \
  }

SETUP_DEFINE_OFFICE_SPECIFIER(TpsOfficeUserTemplates, "psOfficeUserTemplates",
                              "Path to the MS Office User Templates directory", "User Templates")
SETUP_DEFINE_OFFICE_SPECIFIER(TpsOfficeWorkgroupTemplates, "psOfficeWorkgroupTemplates",
                              "Path to the MS Office Workgroup Templates directory", "Workgroup Templates")
SETUP_DEFINE_OFFICE_SPECIFIER(TpsOfficeClipartDirectory, "psOfficeClipartDirectory",
                              "Path to the MS Office Clipart directory", "Office Clipart dir")
SETUP_DEFINE_OFFICE_SPECIFIER(TpsOfficeStartupDirectory, "psOfficeStartupDirectory",
                              "Path to the MS Office Startup directory", "Office Startup dir")
SETUP_DEFINE_OFFICE_SPECIFIER(TpsOfficeToolsDirectory, "psOfficeToolsDirectory",
                              "Path to the MS Office Tools directory", "Office Tools dir")
SETUP_DEFINE_OFFICE_SPECIFIER(TpsOfficeFavoritesDirectory, "psOfficeFavoritesDirectory",
                              "Path to the MS Office Favorites directory", "Office Favorites dir")

std::string TpsOfficeUserTemplates::GetPath(fw::TComponent*) {
  return GetOfficeFileNewPath(GetWordVersion(), kUserTemplates, kUserTemplatesFolder);
}

std::string TpsOfficeWorkgroupTemplates::GetPath(fw::TComponent*) {
  int version = GetWordVersion();
  std::string user = GetOfficeFileNewPath(version, kUserTemplates, kUserTemplatesFolder);
  if (!SupportedVersion(version)) return user;
  return ReadOfficePath(OfficeKey(version) + "\\Common\\FileNew\\SharedTemplates", "", user);
}

std::string TpsOfficeClipartDirectory::GetPath(fw::TComponent*) {
  return GetWordOptionsPath("PICTURE-PATH", "Microsoft Office\\Clipart");
}

std::string TpsOfficeStartupDirectory::GetPath(fw::TComponent*) {
  return GetWordOptionsPath("STARTUP-PATH", "Microsoft Office\\Office\\Startup");
}

std::string TpsOfficeToolsDirectory::GetPath(fw::TComponent*) {
  return GetWordOptionsPath("TOOLS-PATH", "Microsoft Office\\Office");
}

std::string TpsOfficeFavoritesDirectory::GetPath(fw::TComponent*) {
  return RemoveTrailingBackslash(ReadRegString(hkCurrentUser, kShellFoldersKey, "Favorites",
                                               RemoveTrailingBackslash(GetWindowsDir()) + "\\Favorites"));
}

}  // namespace setup
