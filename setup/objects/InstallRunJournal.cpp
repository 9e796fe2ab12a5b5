#include "InstallRunJournal.h"

#include <windows.h>

#include <algorithm>

#include "FileRegistration.h"
#include "InstallEngine.h"
#include "RegistryTree.h"
#include "UninstallFileLog.h"
#include "archive/ArchiveText.h"
#include "support/Errors.h"
#include "support/FileAttributes.h"
#include "support/FileHandles.h"
#include "support/PathStrings.h"
#include "support/RegistryLinks.h"
#include "support/RegistryObject.h"

namespace setup {

// A registry value as it was before the run wrote it, and as the run wrote it.
struct TInstallRunJournal::TValueBefore {
  int Root;
  std::string Key;
  std::string Name;
  std::optional<TRegistryTree::TValue> Before;   // none when it was missing
  std::optional<TRegistryTree::TValue> Written;  // none until noted
};

namespace {

// The uninstall key holds the log a few levels deep.
constexpr int kUninstallKeyDepth = 8;

std::string Relative(const std::string& Key) {
  std::string key = !Key.empty() && Key[0] == '\\' ? Key.substr(1) : Key;
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string KeyText(int Root, const std::string& Key) {
  return RootKeyName(Root) + "\\" + Relative(Key);
}

std::optional<TRegistryTree::TValue> ReadValue(int Root, const std::string& Key, const std::string& Name) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(RootKeyFromIndex(Root), Relative(Key).c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
    return std::nullopt;
  TRegistryTree::TValue value{Name};
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), Name.c_str(), nullptr, &value.Type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.Data.resize(size);
  if (RegQueryValueExA(key.Get(), Name.c_str(), nullptr, &value.Type, value.Data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.Data.resize(size);
  return value;
}

}  // namespace

TInstallRunJournal::TInstallRunJournal(std::string UninstallKey)
    : FUninstallKey(std::move(UninstallKey)),
      FUninstallKeyBefore(
          std::make_unique<TSavedRegistryKey>(HKEY_LOCAL_MACHINE, Relative(FUninstallKey), true, kUninstallKeyDepth)) {}

TInstallRunJournal::~TInstallRunJournal() = default;

// --- files and folders -------------------------------------------------------------

void TInstallRunJournal::FileCreated(const std::string& Path, const std::string& Id) {
  FCreatedFiles.push_back({Path, Id});
}

void TInstallRunJournal::FileReplaced(const std::string& Target, const std::string& Id, const std::string& Aside) {
  FReplaced.push_back({Target, Id, Aside});
}

void TInstallRunJournal::NoteCreatedFile(const std::string& Path) {
  TOpenedEntry made(Path);
  if (made.Opened() && !made.IsFolder()) FCreatedFiles.push_back({Path, made.Id()});
}

void TInstallRunJournal::NoteRewrittenFile(const std::string& Path, const std::string& Aside) {
  TOpenedEntry now(Path);
  FReplaced.push_back({Path, now.Opened() ? now.Id() : std::string(), Aside});
}

bool TInstallRunJournal::MakeFolder(const std::string& Folder) {
  // The missing levels, the deepest first.
  std::vector<std::string> missing;
  for (std::string level = RemoveTrailingBackslash(Folder); !level.empty() && level.back() != ':';) {
    if (FolderExists(level)) break;
    missing.push_back(level);
    const std::string parent = RemoveTrailingBackslash(ExtractFilePath(level));
    if (parent.size() >= level.size()) break;
    level = parent;
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    if (CreateDirectoryA(level->c_str(), nullptr)) {
      // Noted with the identity of what was made, read at once.
      FCreatedFolders.push_back({*level, TOpenedEntry(*level).Id()});
    } else if (!FolderExists(*level)) {
      return false;
    }
  }
  return true;
}

// --- registry --------------------------------------------------------------------

void TInstallRunJournal::NoteRegistryKey(int Root, const std::string& Key) {
  std::vector<std::string> missing;
  for (std::string level = Relative(Key); !level.empty() && RegistryKeyMissing(Root, level);) {
    missing.push_back(level);
    const size_t slash = level.rfind('\\');
    level = slash == std::string::npos ? std::string() : level.substr(0, slash);
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level)
    if (std::none_of(FCreatedKeys.begin(), FCreatedKeys.end(), [&](const TCreatedKey& created) {
          return created.Root == Root && fw::SameText(created.Key, *level);
        }))
      FCreatedKeys.push_back({Root, *level});
}

void TInstallRunJournal::NoteValueBefore(int Root, const std::string& Key, const std::string& Name) {
  for (const TValueBefore& noted : FValuesBefore)
    if (noted.Root == Root && fw::SameText(Relative(noted.Key), Relative(Key)) && fw::SameText(noted.Name, Name)) return;
  FValuesBefore.push_back({Root, Key, Name, ReadValue(Root, Key, Name), std::nullopt});
}

void TInstallRunJournal::NoteValueWritten(int Root, const std::string& Key, const std::string& Name) {
  for (TValueBefore& noted : FValuesBefore)
    if (noted.Root == Root && fw::SameText(Relative(noted.Key), Relative(Key)) && fw::SameText(noted.Name, Name)) {
      noted.Written = ReadValue(Root, Key, Name);
      return;
    }
}

void TInstallRunJournal::NoteSharedCount(const std::string& Name, std::optional<uint32_t> Before) {
  for (const auto& noted : FSharedCountsBefore)
    if (fw::SameText(noted.first, Name)) return;
  FSharedCountsBefore.emplace_back(Name, Before);
}

void TInstallRunJournal::NoteKeyBefore(int Root, const std::string& Key, bool Deep) {
  const HKEY root = RootKeyFromIndex(Root);
  for (const auto& saved : FSavedKeys)
    if (saved->Root() == root && fw::SameText(saved->Path(), Relative(Key))) return;
  FSavedKeys.push_back(std::make_unique<TSavedRegistryKey>(root, Relative(Key), Deep));
}

void TInstallRunJournal::NoteKeyCreated(int Root, const std::string& Key) {
  const HKEY root = RootKeyFromIndex(Root);
  for (const auto& saved : FSavedKeys)
    if (saved->Root() == root && fw::SameText(saved->Path(), Relative(Key))) return;
  FSavedKeys.push_back(std::make_unique<TSavedRegistryKey>(TSavedRegistryKey::Missing(root, Relative(Key))));
}

// --- the end of the run ------------------------------------------------------------

std::vector<std::string> TInstallRunJournal::Undo() {
  std::vector<std::string> report;
  RestoreSavedKeys(report);
  RestoreValues(report);
  RemoveCreatedKeys(report);
  RestoreSharedCounts();
  RestoreReplacedFiles(report);
  RemoveCreatedFiles(report);
  RemoveCreatedFolders(report);
  RestoreUninstallKey(report);
  Clear();
  return report;
}

void TInstallRunJournal::Complete() {
  for (const TReplaced& replaced : FReplaced) DeleteNowOrAtRestart(replaced.Aside);
  Clear();
}

void TInstallRunJournal::Clear() {
  FCreatedFiles.clear();
  FCreatedFolders.clear();
  FReplaced.clear();
  FCreatedKeys.clear();
  FValuesBefore.clear();
  FSharedCountsBefore.clear();
  FSavedKeys.clear();
}

void TInstallRunJournal::RestoreSavedKeys(std::vector<std::string>& Report) {
  for (auto saved = FSavedKeys.rbegin(); saved != FSavedKeys.rend(); ++saved)
    if (!(*saved)->Restore()) {
      Report.push_back("the registry key " + RootKeyName(RootKeyToIndex((*saved)->Root(), -1)) + "\\" +
                       (*saved)->Path() + " (not put back as it was)");
    }
}

void TInstallRunJournal::RestoreValues(std::vector<std::string>& Report) {
  for (auto value = FValuesBefore.rbegin(); value != FValuesBefore.rend(); ++value) {
    const std::string text = "the value " + value->Name + " of " + KeyText(value->Root, value->Key);
    if (value->Written && ReadValue(value->Root, value->Key, value->Name) != value->Written) {
      Report.push_back(text + " (it no longer holds what the installation wrote)");
      continue;
    }
    fw::TRegKeyHandle key;
    LONG result = RegOpenKeyExA(RootKeyFromIndex(value->Root), Relative(value->Key).c_str(), 0, KEY_SET_VALUE,
                                key.Put());
    if (result == ERROR_SUCCESS)
      result = value->Before ? RegSetValueExA(key.Get(), value->Name.c_str(), 0, value->Before->Type,
                                              value->Before->Data.data(),
                                              static_cast<DWORD>(value->Before->Data.size()))
                             : RegDeleteValueA(key.Get(), value->Name.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
      Report.push_back(text + " (" + SystemErrorText(static_cast<uint32_t>(result)) + ")");
  }
}

void TInstallRunJournal::RemoveCreatedKeys(std::vector<std::string>& Report) {
  // Children were noted after their parents: the deepest go first.
  for (auto created = FCreatedKeys.rbegin(); created != FCreatedKeys.rend(); ++created) {
    fw::TRegKeyHandle key = OpenKeyNotFollowing(RootKeyFromIndex(created->Root), created->Key, KEY_READ | DELETE);
    // A key that is a link now is none of the run's; one that holds what the run did
    // not write stays with it.
    if (!key || IsRegistryLink(key.Get()) || !IsEmptyKey(key.Get())) continue;
    LONG error = ERROR_SUCCESS;
    if (!DeleteOpenedKey(key.Get(), error))
      Report.push_back("the registry key " + KeyText(created->Root, created->Key) + " (" +
                       SystemErrorText(static_cast<uint32_t>(error)) + ")");
  }
}

void TInstallRunJournal::RestoreSharedCounts() {
  fw::TRegKeyHandle counts;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDLLsKey + 1, 0, KEY_SET_VALUE, counts.Put()) != ERROR_SUCCESS) return;
  for (const auto& [name, before] : FSharedCountsBefore) {
    if (before) {
      DWORD count = *before;
      RegSetValueExA(counts.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    } else {
      RegDeleteValueA(counts.Get(), name.c_str());
    }
  }
}

void TInstallRunJournal::RestoreReplacedFiles(std::vector<std::string>& Report) {
  // The last replacement first: a target replaced twice gets its first file back last.
  for (auto replaced = FReplaced.rbegin(); replaced != FReplaced.rend(); ++replaced) {
    const std::string kept = "; the earlier file stays as " + replaced->Aside + ")";
    {
      TOpenedEntry now(replaced->Target);
      const bool written = now.Opened() && !now.IsFolder() && now.Id() == replaced->Id;
      if (!written && !now.Missing()) {
        Report.push_back(replaced->Target + " (no longer the file the installation wrote" + kept);
        continue;
      }
      // Attributes the run gave it do not keep the earlier file out.
      if (written && (now.Attributes() & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(replaced->Target.c_str(), now.Attributes() & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    if (!MoveFileExA(replaced->Aside.c_str(), replaced->Target.c_str(), MOVEFILE_REPLACE_EXISTING))
      Report.push_back(replaced->Target + " (" + SystemErrorText(GetLastError()) + kept);
  }
}

void TInstallRunJournal::RemoveCreatedFiles(std::vector<std::string>& Report) {
  for (auto made = FCreatedFiles.rbegin(); made != FCreatedFiles.rend(); ++made) {
    TOpenedEntry entry(made->Path);
    if (entry.Missing()) continue;
    if (!entry.Opened()) {
      Report.push_back(made->Path + " (" + SystemErrorText(entry.Error()) + ")");
      continue;
    }
    if (entry.IsFolder() || entry.Id() != made->Id) {
      Report.push_back(made->Path + " (no longer the file the installation made; kept)");
      continue;
    }
    DWORD error = 0;
    if (!entry.Delete(error)) Report.push_back(made->Path + " (" + SystemErrorText(error) + ")");
  }
}

void TInstallRunJournal::RemoveCreatedFolders(std::vector<std::string>& Report) {
  // Children were made after their parents: the deepest go first, each once empty.
  for (auto made = FCreatedFolders.rbegin(); made != FCreatedFolders.rend(); ++made) {
    TOpenedEntry entry(made->Path);
    if (entry.Missing()) continue;
    if (!entry.Opened() || !entry.IsFolder() || entry.IsLink() || entry.Id() != made->Id) {
      Report.push_back(made->Path + " (no longer the folder the installation made; kept)");
      continue;
    }
    DWORD error = 0;
    if (!entry.Delete(error) && error != ERROR_DIR_NOT_EMPTY)
      Report.push_back(made->Path + " (" + SystemErrorText(error) + ")");
  }
}

void TInstallRunJournal::RestoreUninstallKey(std::vector<std::string>& Report) {
  // The key goes first, so that nothing the run logged stays beside what was there.
  if (!FUninstallKeyBefore->Restore())
    Report.push_back("the uninstall entry HKEY_LOCAL_MACHINE\\" + Relative(FUninstallKey) + " (not put back as it was)");
}

TInstallRunJournal* CurrentRunJournal() {
  TInstallEngine* engine = GlobalInstall();
  return engine != nullptr ? engine->RunJournal() : nullptr;
}

TFileOfRun::TFileOfRun(std::string Path, bool Rewrites) : FJournal(CurrentRunJournal()), FPath(std::move(Path)) {
  if (FJournal == nullptr) return;
  FExisted = FileExists(FPath);
  if (FExisted && Rewrites) FAside = CopyAside(FPath);
}

TFileOfRun::~TFileOfRun() {
  if (FJournal == nullptr) return;
  try {
    if (!FExisted)
      FJournal->NoteCreatedFile(FPath);
    else if (!FAside.empty())
      FJournal->NoteRewrittenFile(FPath, FAside);
  } catch (...) {
    // Out of memory: the file stays with the run's other work.
  }
}

bool MakeFolderOfRun(const std::string& Folder) {
  NoteRunFolderToMake(Folder);
  if (TInstallRunJournal* journal = CurrentRunJournal()) return journal->MakeFolder(Folder);
  return ForceDirectories(Folder);
}

}  // namespace setup
