// What the uninstaller may remove, decided from the log's texts alone (no Windows calls):
// the form of file paths and registry keys, the folders and keys that are never removed,
// and the parsing of the log's entries and of the command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup {

// A path as the log gives it, checked: "X:\name\..." with no empty, "." or ".." part, no
// part that ends in a dot or a blank (Windows would drop it), none of the characters
// that no file name holds, at most 259 characters. Returns false for anything else.
bool NormalizePath(std::string_view Text, std::string& Path);

// The folders of the machine that must survive any log: those named in Protected stay
// themselves, and so do all their parents; nothing inside a folder of Sealed (the
// Windows folder) is removed at all. Paths are compared without regard to case.
struct TFolderRules {
  std::vector<std::string> Protected;
  std::vector<std::string> Sealed;
  // Folders whose entries are the user's or every program's (profile folders, the
  // machine's data, the public profile, Common Files): an entry inside one goes only when
  // the removal can tell that the installation made it.
  std::vector<std::string> Data;

  // A file the log names may be deleted: a checked path below a folder of the drive
  // (never in a drive's root), not a protected folder or a parent of one, not inside
  // a sealed folder.
  bool MayDeleteFile(const std::string& Path) const;
  // An emptied folder may be removed: not a drive's root, not protected, not a parent
  // of a protected folder, not inside a sealed one.
  bool MayRemoveFolder(const std::string& Path) const;
};

// Whether Folder is Path itself or one of its parents (without regard to case).
bool IsSameOrParent(const std::string& Folder, const std::string& Path);
// The folder part of a checked path; empty for a drive's root.
std::string ParentFolder(const std::string& Path);

// The registry roots as the log numbers them.
enum class TLogRoot { ClassesRoot, CurrentConfig, CurrentUser, DynData, LocalMachine, Users };
bool LogRootFromNumber(long long Number, TLogRoot& Root);

// A key as the log gives it ("\Software\Maker\Product"), checked: no empty part, no "."
// or "..", no control character, at most 512 characters. The result has no leading
// backslash.
bool NormalizeKey(std::string_view Text, std::string& Key);
// An emptied key may be deleted: a checked key that is neither a root, nor a key that
// Windows or other programs rely on (the Software, System and class keys, the keys of
// Windows' own settings and of every product's uninstall entry), nor a parent of one.
bool MayDeleteKey(TLogRoot Root, const std::string& Key);
// A logged value of Key may be deleted (when its data is still what the log holds): Key is
// a checked key below the root's own level and not part of Windows' own configuration
// (logon, session manager, services and the rest of the System keys, environment,
// policies, Control Panel, shell folders, shared-file counts, other products' uninstall
// entries). A product's own value under Run or App Paths may go.
bool MayDeleteValue(TLogRoot Root, const std::string& Key);
// The parent of a checked key; empty for a key right below the root.
std::string ParentKey(const std::string& Key);

// "File<n>" (n a decimal number without sign) names a log entry.
bool IsLogEntryName(std::string_view Name);
// "Files" or "Files<n>": a subkey of the file log.
bool IsFileLogName(std::string_view Name);
// "RegistryKey<n>": a logged registry object.
bool IsRegistryLogName(std::string_view Name);

// An "ActiveX" entry, "path;kind" with kind '0' (library), '1' (server) or '2' (type
// library).
bool ParseActiveXEntry(std::string_view Text, std::string& Path, char& Kind);

// A product name that names one uninstall key: not blank, no backslash or control
// character, not "." or "..", at most 200 characters.
bool IsValidProductName(std::string_view Name);
// The product name from the program's arguments (the command line after the program):
// the whole text trimmed, surrounding double quotes taken off.
std::string ProductNameFromArguments(std::string_view Arguments);

// The program that a product's uninstall command starts: the quoted first part
// ("\"C:\App\uninstall.exe\" Product") or, unquoted, the text before a blank and the
// product name at its end ("C:\App\uninstall.exe Product"). The program must be a
// checked path (NormalizePath); false when the command names none.
bool ProgramOfUninstallCommand(std::string_view Command, std::string_view ProductName, std::string& Program);

}  // namespace setup
