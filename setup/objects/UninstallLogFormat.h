// The uninstall log below a product's key
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\<product>, and
// its one parser. Portable code: the log is handed over as a tree of keys and values
// read from the registry, so the parser is fuzzed natively like any reader of outside
// input.
//
// The lists every version of the setup writes, which older uninstallers read:
//   Files, Files1, ...         "File<n>" = the path of an installed file or shortcut
//   ActiveX                    "File<n>" = "path;kind" of a COM-registered file
//   RegistryKeys\RegistryKey<n> "Key" = the key's path, "Root" = its root's number,
//                              "Entries" subkey: one value per written value, named by
//                              it, holding its data as text
// What an installation also records, so that the uninstaller can tell what it made
// (older readers ignore these names):
//   MadeFiles                  one value per file it wrote, named by its logged path:
//                              "<size>:<SHA-0 digest>" for each content it wrote there
//                              (two while a replacement waits for the restart) and
//                              "shared" when it counted the file under SharedDLLs, all
//                              separated by blanks
//   MadeFolders                one value per folder it created (every level that was
//                              missing), named by its path: "<volume>:<high>:<low>", the
//                              folder's volume serial number and file number
//   RegistryKeys\RegistryKey<n> "MadeLevels" = how many of the key's last levels it
//                              created; "MadeValues" subkey: a copy of each value it
//                              created (that was not there before), with the type and
//                              the bytes it wrote
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/FileIdentity.h"

namespace setup {

// The names of the log's subkeys and values.
inline constexpr char kFilesLogKey[] = "Files";
inline constexpr char kActiveXLogKey[] = "ActiveX";
inline constexpr char kRegistryKeysLogKey[] = "RegistryKeys";
inline constexpr char kMadeFilesLogKey[] = "MadeFiles";
inline constexpr char kMadeFoldersLogKey[] = "MadeFolders";
inline constexpr char kMadeValuesLogKey[] = "MadeValues";
inline constexpr char kMadeLevelsValue[] = "MadeLevels";
inline constexpr char kLogCountValue[] = "Entries";
// How many numbered "Files" subkeys are tried after the first when one is damaged.
constexpr int kMaxFilesLogRetries = 16;
// How many contents a file's record keeps.
constexpr size_t kMaxRecordedContents = 4;

// The registry's value types as the log meets them.
constexpr uint32_t kRegText = 1;          // REG_SZ
constexpr uint32_t kRegExpandedText = 2;  // REG_EXPAND_SZ
constexpr uint32_t kRegNumber = 4;        // REG_DWORD

// Kinds of the "ActiveX" entries.
constexpr char kActiveXLibrary = '0';
constexpr char kActiveXServer = '1';
constexpr char kActiveXTypeLibrary = '2';
// The kind an installation registers and logs a file as, by its name's extension: a
// type library, a program or a library.
char ActiveXKindOfName(std::string_view Path);

// A key of the registry as the parser gets it: values with their type and bytes as
// stored, and the subkeys (links among them left out).
struct TLogTreeValue {
  std::string Name;
  uint32_t Type = 0;
  std::string Data;
};
struct TLogTree {
  std::string Name;
  std::vector<TLogTreeValue> Values;
  std::vector<TLogTree> Subkeys;
  const TLogTree* Subkey(std::string_view Name) const;
  const TLogTreeValue* Value(std::string_view Name) const;
};

// What an installation recorded about one file it wrote or counted.
struct TFileRecord {
  // The contents it wrote there, the latest last.
  std::vector<TFileIdentity> Contents;
  // It counted the file under SharedDLLs (one use to give back).
  bool Shared = false;
  bool operator==(const TFileRecord&) const = default;
};
// The record's text as MadeFiles holds it, and back; false for a text that is no record.
std::string FileRecordText(const TFileRecord& Record);
bool ParseFileRecord(std::string_view Text, TFileRecord& Record);

// A folder's identity as MadeFolders holds it: "<volume>:<high>:<low>", three decimal
// numbers of 32 bits.
bool IsFolderIdText(std::string_view Text);

// One "ActiveX" entry: the logged text, and its path and kind when it is "path;kind"
// with a plain path (Path empty otherwise).
struct TLoggedActiveX {
  std::string Entry;
  std::string Path;
  char Kind = 0;
};

// A folder the installation created, with its identity then.
struct TMadeFolder {
  std::string Path;
  std::string Id;
};

// One value of a logged registry key: its name, the text the "Entries" list holds for it,
// and whether the installation created it, with the type and bytes it wrote.
struct TLoggedValue {
  std::string Name;
  std::string Text;
  bool Made = false;
  uint32_t Type = 0;
  std::string Data;
};

// One "RegistryKey<n>" of the log.
struct TLoggedRegistryKey {
  std::string Entry;  // "RegistryKey<n>"
  std::string Key;
  long long Root = -1;  // -1 when the log holds none
  // How many of the key's last levels the installation created.
  int MadeLevels = 0;
  std::vector<TLoggedValue> Values;
};

// What a product's uninstall log holds.
struct TUninstallLog {
  // Whether the product has an uninstall entry at all.
  bool Found = false;
  // The logged files of every "Files" list, in the lists' and the entries' order.
  std::vector<std::string> Files;
  std::vector<TLoggedActiveX> ActiveX;
  // By the upper-case logged path.
  std::map<std::string, TFileRecord> FileRecords;
  std::vector<TMadeFolder> MadeFolders;
  std::vector<TLoggedRegistryKey> RegistryKeys;
  // The "Entries" text of each list ("Files", "Files<n>", "ActiveX", "RegistryKeys"), by
  // the list's upper-case name.
  std::map<std::string, std::string> ListCounts;

  // The record of a logged path; nil when the log holds none.
  const TFileRecord* RecordOf(std::string_view Path) const;
};

// Reads a product's log from its key's tree (Found is set). Damaged parts are taken as
// missing: entries whose names or types are not the log's, records that do not parse.
TUninstallLog ParseUninstallLog(const TLogTree& Product);

}  // namespace setup
