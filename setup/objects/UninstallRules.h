// What the uninstaller may never remove, decided from texts alone (no Windows calls): the
// form of file paths and registry keys, the folders and keys that stay whatever a log
// says, the log's entry names, and the product name on the command line. These are belts
// beside the uninstaller's judgement of what the installation made (UninstallFiles.h,
// UninstallRegistry.h).
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
// Both judge a key by every spelling of it: HKEY_CLASSES_ROOT\X is also the machine's and
// the user's Software\Classes\X (and each of those is HKEY_CLASSES_ROOT\X),
// HKEY_CURRENT_CONFIG\X is the machine's System\CurrentControlSet\Hardware
// Profiles\Current\X, a user's "_Classes" key is his Software\Classes, and the 32-bit
// view's "Wow6432Node" keys are the keys they mirror.
//
// An emptied key the installation made may be deleted: a checked key that is neither a
// root, nor a key that Windows or other programs rely on (the Software and class keys,
// anything below System, the keys of Windows' own settings and of every product's
// uninstall entry, Windows' own kinds of files), nor a parent of one.
bool MayDeleteKey(TLogRoot Root, const std::string& Key);
// A value the installation made in Key may be deleted (while it holds what the
// installation wrote): Key is a checked key below the root's own level and not part of
// Windows' own configuration (logon, session manager, services and the rest of the
// System keys, environment, policies, Control Panel, shell folders, shared-file counts,
// other products' uninstall entries, the shared class keys themselves, Windows' own kinds
// of files and shell classes). A product's own value under Run or App Paths may go.
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
