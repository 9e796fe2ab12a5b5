#include "UninstallRules.h"

#include <algorithm>
#include <array>

namespace setup {

namespace {

constexpr size_t kMaxPath = 259;
constexpr size_t kMaxKey = 512;
constexpr size_t kMaxProductName = 200;

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view A, std::string_view B) {
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// The parts of Text between backslashes; false when one is empty.
bool SplitParts(std::string_view Text, std::vector<std::string_view>& Parts) {
  Parts.clear();
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find('\\', start);
    if (end == std::string_view::npos) end = Text.size();
    if (end == start) return false;
    Parts.push_back(Text.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool NumberedName(std::string_view Name, std::string_view Prefix, bool NumberOptional) {
  if (Name.size() < Prefix.size() || !EqualNoCase(Name.substr(0, Prefix.size()), Prefix)) return false;
  std::string_view number = Name.substr(Prefix.size());
  if (number.empty()) return NumberOptional;
  if (number.size() > 9) return false;
  return std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Keys that stay whatever a log says (with all their parents), below any root.
constexpr std::array<std::string_view, 24> kBaseKeys = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
    "Software\\Classes\\CLSID",
    "Software\\Classes\\Interface",
    "Software\\Classes\\TypeLib",
    "Software\\Classes\\AppID",
    "Software\\Policies\\Microsoft",
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "System\\CurrentControlSet\\Services",
    "System\\CurrentControlSet\\Control",
    "Control Panel\\International",
    "Control Panel\\Desktop",
    "Environment\\Path",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"};

// Keys of Windows' own configuration, below any root: no value in them or below them is
// removed whatever a log says.
constexpr std::array<std::string_view, 20> kConfigurationKeys = {
    "System",
    "Hardware",
    "SAM",
    "Security",
    "Software\\Microsoft\\Windows NT\\CurrentVersion",
    "Environment",
    "Control Panel",
    "Volatile Environment",
    "Software\\Policies",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Setup",
    "Software\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad",
    "Software\\Microsoft\\Windows\\Help",
    "Software\\Microsoft\\Cryptography",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"};

// Keys whose own values are Windows' settings (its folders, its version), though products
// keep keys of their own below them.
constexpr std::array<std::string_view, 4> kConfigurationValueKeys = {
    "Software\\Microsoft", "Software\\Microsoft\\Windows", "Software\\Microsoft\\Windows\\CurrentVersion",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"};

// Keys right below HKEY_CLASSES_ROOT that hold every program's registrations.
constexpr std::array<std::string_view, 14> kSharedClassKeys = {"CLSID",
                                                               "Interface",
                                                               "TypeLib",
                                                               "AppID",
                                                               "*",
                                                               "Directory",
                                                               "Folder",
                                                               "Drive",
                                                               "Installer",
                                                               "Applications",
                                                               "MIME",
                                                               "SystemFileAssociations",
                                                               "AllFilesystemObjects",
                                                               "Unknown"};

// Keys right below HKEY_CLASSES_ROOT that describe Windows' own kinds of files and
// objects: no value in them or below them is removed whatever a log says.
constexpr std::array<std::string_view, 30> kWindowsClassKeys = {
    "exefile", "lnkfile", "batfile", "cmdfile", "comfile", "piffile", "scrfile", "regfile", "dllfile", "sysfile",
    "txtfile", "inifile", "htmlfile", ".exe", ".lnk", ".bat", ".cmd", ".com", ".pif", ".scr", ".reg", ".dll", ".sys",
    ".txt", ".ini", ".htm", ".html", "Folder", "Directory", "Drive"};

// The shell's own classes below HKEY_CLASSES_ROOT\CLSID (the shell link, the desktop, My
// Computer, the file system): no value in them or below them is removed.
constexpr std::array<std::string_view, 4> kWindowsClasses = {
    "CLSID\\{00021401-0000-0000-C000-000000000046}", "CLSID\\{00021400-0000-0000-C000-000000000046}",
    "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "CLSID\\{0E5AAE11-A475-4C5B-AB00-C66DE400274E}"};

// Below the users root, the first part names a user and the second his keys.
size_t MinimumDepth(TLogRoot Root) {
  switch (Root) {
    case TLogRoot::ClassesRoot:
      return 1;
    case TLogRoot::Users:
      return 3;
    default:
      return 2;
  }
}

// The key without the user's part below the users root.
std::string_view KeyBelowUser(TLogRoot Root, std::string_view Key) {
  if (Root != TLogRoot::Users) return Key;
  size_t slash = Key.find('\\');
  return slash == std::string_view::npos ? std::string_view() : Key.substr(slash + 1);
}

// The key as the 64-bit Windows' 32-bit view mirrors it below "Wow6432Node", without
// that part; the key itself when it is not in that view.
std::string WithoutWow64Node(std::string_view Key) {
  constexpr std::string_view kNode = "Wow6432Node\\";
  for (std::string_view prefix :
       {std::string_view(), std::string_view("Software\\"), std::string_view("Software\\Classes\\")}) {
    if (Key.size() > prefix.size() + kNode.size() && EqualNoCase(Key.substr(0, prefix.size()), prefix) &&
        EqualNoCase(Key.substr(prefix.size(), kNode.size()), kNode))
      return std::string(prefix).append(Key.substr(prefix.size() + kNode.size()));
  }
  return std::string(Key);
}

}  // namespace

bool NormalizePath(std::string_view Text, std::string& Path) {
  if (Text.size() < 4 || Text.size() > kMaxPath) return false;
  char drive = Lower(Text[0]);
  if (drive < 'a' || drive > 'z' || Text[1] != ':' || Text[2] != '\\') return false;
  std::vector<std::string_view> parts;
  if (!SplitParts(Text.substr(3), parts)) return false;
  for (std::string_view part : parts) {
    if (part == "." || part == "..") return false;
    if (part.back() == '.' || part.back() == ' ') return false;
    for (char c : part)
      if (IsControl(c) || std::string_view("\"*/:<>?|").find(c) != std::string_view::npos) return false;
  }
  Path.assign(Text);
  return true;
}

bool IsSameOrParent(const std::string& Folder, const std::string& Path) {
  std::string_view folder = Folder;
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  if (folder.empty() || Path.size() < folder.size()) return false;
  if (!EqualNoCase(std::string_view(Path).substr(0, folder.size()), folder)) return false;
  return Path.size() == folder.size() || Path[folder.size()] == '\\';
}

std::string ParentFolder(const std::string& Path) {
  size_t slash = Path.find_last_of('\\');
  if (slash == std::string::npos || slash <= 2) return std::string();
  return Path.substr(0, slash);
}

bool TFolderRules::MayRemoveFolder(const std::string& Path) const {
  std::string checked;
  if (!NormalizePath(Path, checked)) return false;
  for (const std::string& folder : Protected)
    if (IsSameOrParent(Path, folder)) return false;
  for (const std::string& folder : Sealed)
    if (IsSameOrParent(folder, Path) || IsSameOrParent(Path, folder)) return false;
  return true;
}

bool TFolderRules::MayDeleteFile(const std::string& Path) const {
  std::string checked;
  if (!NormalizePath(Path, checked)) return false;
  // A file straight in a drive's root is the system's.
  if (ParentFolder(Path).empty()) return false;
  return MayRemoveFolder(Path);
}

bool LogRootFromNumber(long long Number, TLogRoot& Root) {
  if (Number < 0 || Number > static_cast<long long>(TLogRoot::Users)) return false;
  Root = static_cast<TLogRoot>(Number);
  return true;
}

bool NormalizeKey(std::string_view Text, std::string& Key) {
  if (!Text.empty() && Text.front() == '\\') Text.remove_prefix(1);
  if (Text.empty() || Text.size() > kMaxKey) return false;
  std::vector<std::string_view> parts;
  if (!SplitParts(Text, parts)) return false;
  for (std::string_view part : parts) {
    if (part == "." || part == "..") return false;
    if (std::any_of(part.begin(), part.end(), IsControl)) return false;
  }
  Key.assign(Text);
  return true;
}

std::string ParentKey(const std::string& Key) {
  size_t slash = Key.find_last_of('\\');
  return slash == std::string::npos ? std::string() : Key.substr(0, slash);
}

namespace {

constexpr std::string_view kClassesBelowSoftware = "Software\\Classes\\";
constexpr std::string_view kCurrentHardwareProfile = "System\\CurrentControlSet\\Hardware Profiles\\Current\\";

bool StartsWithNoCase(std::string_view Text, std::string_view Prefix) {
  return Text.size() > Prefix.size() && EqualNoCase(Text.substr(0, Prefix.size()), Prefix);
}

// A key as Windows keeps it: its root and its path below the root (below the user's part
// under the users root), without the 32-bit view's "Wow6432Node" part.
struct TSpelling {
  TLogRoot Root;
  std::string Key;
};

// Every spelling of one key: HKEY_CLASSES_ROOT is the machine's and the user's
// Software\Classes, HKEY_CURRENT_CONFIG the current hardware profile below the machine's
// System key, and a user's classes are HKEY_CLASSES_ROOT again.
std::vector<TSpelling> Spellings(TLogRoot Root, std::string_view Key) {
  std::string own = WithoutWow64Node(KeyBelowUser(Root, Key));
  TLogRoot root = Root == TLogRoot::Users ? TLogRoot::CurrentUser : Root;
  if (Root == TLogRoot::Users) {
    // "<user>_Classes" is that user's classes.
    const std::string_view user = Key.substr(0, Key.find('\\'));
    constexpr std::string_view kClassesSuffix = "_Classes";
    if (user.size() > kClassesSuffix.size() &&
        EqualNoCase(user.substr(user.size() - kClassesSuffix.size()), kClassesSuffix))
      own = std::string(kClassesBelowSoftware) + own;
  }
  std::vector<TSpelling> spellings{{root, own}};
  if (root == TLogRoot::ClassesRoot) {
    spellings.push_back({TLogRoot::LocalMachine, std::string(kClassesBelowSoftware) + own});
    spellings.push_back({TLogRoot::CurrentUser, std::string(kClassesBelowSoftware) + own});
  } else if (root == TLogRoot::CurrentConfig) {
    spellings.push_back({TLogRoot::LocalMachine, std::string(kCurrentHardwareProfile) + own});
  } else if ((root == TLogRoot::LocalMachine || root == TLogRoot::CurrentUser) &&
             StartsWithNoCase(own, kClassesBelowSoftware)) {
    spellings.push_back({TLogRoot::ClassesRoot, own.substr(kClassesBelowSoftware.size())});
  }
  return spellings;
}

bool IsClassKeyOf(std::string_view Key, std::string_view Class) {
  return EqualNoCase(Key, Class) ||
         (Key.size() > Class.size() && EqualNoCase(Key.substr(0, Class.size()), Class) && Key[Class.size()] == '\\');
}

// A class key Windows or every program relies on: the shared class keys themselves, and
// Windows' own classes with everything below them.
bool IsWindowsClassKey(const TSpelling& Spelling) {
  if (Spelling.Root != TLogRoot::ClassesRoot) return false;
  const std::string& key = Spelling.Key;
  for (std::string_view shared : kSharedClassKeys)
    if (EqualNoCase(key, shared)) return true;
  for (std::string_view own : kWindowsClassKeys)
    if (IsClassKeyOf(key, own)) return true;
  for (std::string_view own : kWindowsClasses)
    if (IsClassKeyOf(key, own)) return true;
  return false;
}

bool KeyMayGo(const TSpelling& Spelling) {
  const std::string& key = Spelling.Key;
  if (IsWindowsClassKey(Spelling)) return false;
  // Nothing of Windows' configuration, services, hardware and security keys.
  for (std::string_view own : {"System", "Hardware", "SAM", "Security", "Software\\Microsoft\\Windows NT\\CurrentVersion"})
    if (IsClassKeyOf(key, own)) return false;
  for (std::string_view base : kBaseKeys)
    if (IsSameOrParent(key, std::string(base))) return false;
  return true;
}

bool ValueMayGo(const TSpelling& Spelling) {
  const std::string& key = Spelling.Key;
  if (IsWindowsClassKey(Spelling)) return false;
  for (std::string_view configuration : kConfigurationKeys)
    if (IsSameOrParent(std::string(configuration), key)) return false;
  for (std::string_view configuration : kConfigurationValueKeys)
    if (EqualNoCase(configuration, key)) return false;
  return true;
}

// Key is a checked key deep enough below its root.
bool IsJudgeableKey(TLogRoot Root, const std::string& Key) {
  std::string checked;
  if (!NormalizeKey(Key, checked) || checked != Key) return false;
  const size_t depth = static_cast<size_t>(std::count(Key.begin(), Key.end(), '\\')) + 1;
  return depth >= MinimumDepth(Root);
}

}  // namespace

bool MayDeleteKey(TLogRoot Root, const std::string& Key) {
  if (!IsJudgeableKey(Root, Key)) return false;
  const std::vector<TSpelling> spellings = Spellings(Root, Key);
  return std::all_of(spellings.begin(), spellings.end(), KeyMayGo);
}

bool MayDeleteValue(TLogRoot Root, const std::string& Key) {
  if (!IsJudgeableKey(Root, Key)) return false;
  const std::vector<TSpelling> spellings = Spellings(Root, Key);
  return std::all_of(spellings.begin(), spellings.end(), ValueMayGo);
}

bool IsLogEntryName(std::string_view Name) {
  return NumberedName(Name, "File", false);
}

bool IsFileLogName(std::string_view Name) {
  return NumberedName(Name, "Files", true);
}

bool IsRegistryLogName(std::string_view Name) {
  return NumberedName(Name, "RegistryKey", false);
}

bool ParseActiveXEntry(std::string_view Text, std::string& Path, char& Kind) {
  size_t separator = Text.find_last_of(';');
  if (separator == std::string_view::npos || separator + 2 != Text.size()) return false;
  char kind = Text[separator + 1];
  if (kind != '0' && kind != '1' && kind != '2') return false;
  if (!NormalizePath(Text.substr(0, separator), Path)) return false;
  Kind = kind;
  return true;
}

bool IsValidProductName(std::string_view Name) {
  if (Name.empty() || Name.size() > kMaxProductName || Name == "." || Name == "..") return false;
  if (Name.find_first_not_of(' ') == std::string_view::npos) return false;
  return std::none_of(Name.begin(), Name.end(), [](char c) { return c == '\\' || IsControl(c); });
}

std::string ProductNameFromArguments(std::string_view Arguments) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!Arguments.empty() && blank(Arguments.front())) Arguments.remove_prefix(1);
  while (!Arguments.empty() && blank(Arguments.back())) Arguments.remove_suffix(1);
  if (Arguments.size() >= 2 && Arguments.front() == '"' && Arguments.back() == '"') {
    Arguments = Arguments.substr(1, Arguments.size() - 2);
  }
  return std::string(Arguments);
}

bool ProgramOfUninstallCommand(std::string_view Command, std::string_view ProductName, std::string& Program) {
  std::string_view program;
  if (!Command.empty() && Command.front() == '"') {
    const size_t end = Command.find('"', 1);
    if (end == std::string_view::npos) return false;
    program = Command.substr(1, end - 1);
  } else {
    const std::string suffix = " " + std::string(ProductName);
    if (ProductName.empty() || Command.size() <= suffix.size() ||
        Command.substr(Command.size() - suffix.size()) != suffix)
      return false;
    program = Command.substr(0, Command.size() - suffix.size());
  }
  return NormalizePath(program, Program);
}

}  // namespace setup
