// Feeds arbitrary log texts to the uninstaller's rules and checks what must hold whatever
// a log says: a path allowed for deletion is a full path below a drive folder, outside
// the sealed folder and no protected folder or parent of one; a key allowed for
// deletion is never a root, a key below a root or a parent of a protected key; a
// product name never reaches outside its uninstall key; every spelling of a key is judged
// alike.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>

#include "objects/UninstallRules.h"

using namespace setup;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

const TFolderRules& Rules() {
  static const TFolderRules rules{{"C:\\Program Files", "C:\\Users\\me\\Desktop", "D:\\Temp"}, {"C:\\Windows"}};
  return rules;
}

void CheckPath(const std::string& text) {
  std::string path;
  if (NormalizePath(text, path)) {
    Check(path == text);
    Check(path.size() >= 4 && path[1] == ':' && path[2] == '\\');
    Check(path.find("\\\\") == std::string::npos);
    // No part is "." or ".." or ends in a dot or a blank, which Windows would resolve or drop.
    for (size_t start = 3; start <= path.size();) {
      const size_t end = std::min(path.find('\\', start), path.size());
      const std::string part = path.substr(start, end - start);
      Check(!part.empty() && part.back() != '.' && part.back() != ' ');
      start = end + 1;
    }
  }
  if (Rules().MayDeleteFile(text)) {
    Check(NormalizePath(text, path));
    Check(!ParentFolder(text).empty());
    Check(!IsSameOrParent("C:\\Windows", text));
    for (const std::string& folder : Rules().Protected) Check(!IsSameOrParent(text, folder));
  }
  if (Rules().MayRemoveFolder(text)) {
    Check(text.size() > 3);
    Check(!IsSameOrParent("C:\\Windows", text) && !IsSameOrParent(text, "C:\\Windows"));
  }
}

void CheckKey(const std::string& text) {
  std::string key;
  if (!NormalizeKey(text, key)) return;
  Check(!key.empty() && key.front() != '\\' && key.back() != '\\');
  for (int number = 0; number <= 5; ++number) {
    TLogRoot root;
    Check(LogRootFromNumber(number, root));
    if (!MayDeleteKey(root, key)) continue;
    // Below HKEY_USERS the first part names a user, whose own keys follow it.
    const std::string own = root == TLogRoot::Users ? key.substr(key.find('\\') + 1) : key;
    Check(!IsSameOrParent(own, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    Check(!IsSameOrParent(own, "Control Panel\\International"));
    if (root != TLogRoot::ClassesRoot) Check(key.find('\\') != std::string::npos);
  }
  for (int number = 0; number <= 5; ++number) {
    TLogRoot root;
    Check(LogRootFromNumber(number, root));
    if (!MayDeleteValue(root, key)) continue;
    const std::string own = root == TLogRoot::Users ? key.substr(key.find('\\') + 1) : key;
    Check(!IsSameOrParent("System", own) && !IsSameOrParent("Environment", own));
    Check(!IsSameOrParent("Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", own));
  }
  // Every spelling of a key is judged alike: HKEY_CLASSES_ROOT is the machine's
  // Software\Classes, HKEY_CURRENT_CONFIG lies below the machine's System key.
  const std::string machineClasses = "Software\\Classes\\" + key;
  if (machineClasses.size() <= 512) {
    Check(MayDeleteValue(TLogRoot::ClassesRoot, key) == MayDeleteValue(TLogRoot::LocalMachine, machineClasses));
    Check(MayDeleteKey(TLogRoot::ClassesRoot, key) == MayDeleteKey(TLogRoot::LocalMachine, machineClasses));
  }
  Check(!MayDeleteValue(TLogRoot::CurrentConfig, key) && !MayDeleteKey(TLogRoot::CurrentConfig, key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckPath(input);
  CheckKey(input);
  std::string path;
  char kind = 0;
  if (ParseActiveXEntry(input, path, kind)) {
    Check(kind == '0' || kind == '1' || kind == '2');
    Check(NormalizePath(path, path));
  }
  const std::string product = ProductNameFromArguments(input);
  if (IsValidProductName(product)) Check(product.find('\\') == std::string::npos && product != "..");
  // A program named by an uninstall command is a checked path.
  if (ProgramOfUninstallCommand(input, product, path)) Check(NormalizePath(path, path));
  if (IsLogEntryName(input)) Check(input.size() > 4 && input.size() <= 13);
  (void)IsFileLogName(input);
  (void)IsRegistryLogName(input);
  return 0;
}
