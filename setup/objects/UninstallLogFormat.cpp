#include "UninstallLogFormat.h"

#include <algorithm>

#include "UninstallRules.h"
#include "core/SysUtils.h"

namespace setup {

namespace {

constexpr char kSharedWord[] = "shared";

bool IsDigits(std::string_view Text, size_t MaxDigits) {
  return !Text.empty() && Text.size() <= MaxDigits &&
         std::all_of(Text.begin(), Text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

uint64_t DigitsValue(std::string_view Text) {
  uint64_t value = 0;
  for (char c : Text) value = value * 10 + static_cast<uint64_t>(c - '0');
  return value;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "<size>:<40 upper-case hexadecimal digits>", the size below 2^63.
bool ParseContent(std::string_view Text, TFileIdentity& Identity) {
  const size_t colon = Text.find(':');
  if (colon == std::string_view::npos || !IsDigits(Text.substr(0, colon), 18) || Text.size() - colon - 1 != 40)
    return false;
  const std::string_view digest = Text.substr(colon + 1);
  for (size_t i = 0; i < Identity.Digest.size(); ++i) {
    const int high = HexValue(digest[2 * i]), low = HexValue(digest[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    Identity.Digest[i] = static_cast<uint8_t>(high * 16 + low);
  }
  Identity.Size = DigitsValue(Text.substr(0, colon));
  return true;
}

// A text value's text (up to its first NUL); false for a value of another type.
bool TextOf(const TLogTreeValue& Value, std::string& Text) {
  if (Value.Type != kRegText && Value.Type != kRegExpandedText) return false;
  Text = Value.Data.substr(0, Value.Data.find('\0'));
  return true;
}

// A number stored as a DWORD or as decimal text of up to six digits.
bool NumberOf(const TLogTreeValue* Value, long long& Number) {
  if (Value == nullptr) return false;
  if (Value->Type == kRegNumber && Value->Data.size() == 4) {
    uint32_t stored = 0;
    for (int i = 3; i >= 0; --i) stored = stored << 8 | static_cast<uint8_t>(Value->Data[static_cast<size_t>(i)]);
    Number = static_cast<int32_t>(stored);
    return true;
  }
  std::string text;
  if (!TextOf(*Value, text) || !IsDigits(text, 6)) return false;
  Number = static_cast<long long>(DigitsValue(text));
  return true;
}

// The number after Prefix in a numbered name ("Files" is 0, "Files3" is 3).
long long NumberAfter(std::string_view Name, size_t Prefix) {
  return Name.size() == Prefix ? 0 : static_cast<long long>(DigitsValue(Name.substr(Prefix)));
}

// The "File<n>" texts of a list, in their numbers' order.
std::vector<std::string> ListEntries(const TLogTree& List) {
  std::multimap<long long, std::string> ordered;
  for (const TLogTreeValue& value : List.Values) {
    std::string text;
    if (IsLogEntryName(value.Name) && TextOf(value, text)) ordered.emplace(NumberAfter(value.Name, 4), text);
  }
  std::vector<std::string> entries;
  entries.reserve(ordered.size());
  for (auto& [number, text] : ordered) entries.push_back(std::move(text));
  return entries;
}

TLoggedRegistryKey ParseRegistryKey(const TLogTree& Record) {
  TLoggedRegistryKey logged;
  logged.Entry = Record.Name;
  if (const TLogTreeValue* key = Record.Value("Key")) TextOf(*key, logged.Key);
  if (!NumberOf(Record.Value("Root"), logged.Root)) logged.Root = -1;
  long long levels = 0;
  if (NumberOf(Record.Value(kMadeLevelsValue), levels) && levels > 0 && levels <= 512)
    logged.MadeLevels = static_cast<int>(levels);
  std::map<std::string, size_t> byName;  // upper case
  if (const TLogTree* entries = Record.Subkey(kLogCountValue))
    for (const TLogTreeValue& value : entries->Values) {
      TLoggedValue loggedValue;
      loggedValue.Name = value.Name;
      TextOf(value, loggedValue.Text);
      byName.emplace(fw::UpperCase(value.Name), logged.Values.size());
      logged.Values.push_back(std::move(loggedValue));
    }
  if (const TLogTree* made = Record.Subkey(kMadeValuesLogKey))
    for (const TLogTreeValue& value : made->Values) {
      auto [at, added] = byName.emplace(fw::UpperCase(value.Name), logged.Values.size());
      if (added) logged.Values.push_back({value.Name, std::string(), false, 0, std::string()});
      TLoggedValue& loggedValue = logged.Values[at->second];
      loggedValue.Made = true;
      loggedValue.Type = value.Type;
      loggedValue.Data = value.Data;
    }
  return logged;
}

}  // namespace

char ActiveXKindOfName(std::string_view Path) {
  const size_t dot = Path.find_last_of('.'), slash = Path.find_last_of('\\');
  const std::string extension =
      dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)
          ? std::string()
          : fw::UpperCase(Path.substr(dot));
  return extension == ".TLB" ? kActiveXTypeLibrary : extension == ".EXE" ? kActiveXServer : kActiveXLibrary;
}

const TLogTree* TLogTree::Subkey(std::string_view Name) const {
  for (const TLogTree& subkey : Subkeys)
    if (fw::SameText(subkey.Name, Name)) return &subkey;
  return nullptr;
}

const TLogTreeValue* TLogTree::Value(std::string_view Name) const {
  for (const TLogTreeValue& value : Values)
    if (fw::SameText(value.Name, Name)) return &value;
  return nullptr;
}

std::string FileRecordText(const TFileRecord& Record) {
  std::string text;
  for (const TFileIdentity& content : Record.Contents) {
    if (!text.empty()) text += ' ';
    text += std::to_string(content.Size) + ":" + DigestToHex(content.Digest);
  }
  if (Record.Shared) text += text.empty() ? kSharedWord : std::string(" ") + kSharedWord;
  return text;
}

bool ParseFileRecord(std::string_view Text, TFileRecord& Record) {
  TFileRecord parsed;
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find(' ', start);
    if (end == std::string_view::npos) end = Text.size();
    const std::string_view word = Text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    TFileIdentity content;
    if (word == kSharedWord)
      parsed.Shared = true;
    else if (ParseContent(word, content)) {
      if (parsed.Contents.size() >= kMaxRecordedContents) return false;
      parsed.Contents.push_back(content);
    } else
      return false;
  }
  Record = std::move(parsed);
  return true;
}

bool IsFolderIdText(std::string_view Text) {
  int parts = 0;
  size_t start = 0;
  while (start <= Text.size()) {
    size_t end = Text.find(':', start);
    if (end == std::string_view::npos) end = Text.size();
    const std::string_view part = Text.substr(start, end - start);
    if (!IsDigits(part, 10) || DigitsValue(part) > 0xFFFFFFFFull || ++parts > 3) return false;
    start = end + 1;
  }
  return parts == 3;
}

const TFileRecord* TUninstallLog::RecordOf(std::string_view Path) const {
  auto found = FileRecords.find(fw::UpperCase(Path));
  return found == FileRecords.end() ? nullptr : &found->second;
}

TUninstallLog ParseUninstallLog(const TLogTree& Product) {
  TUninstallLog log;
  log.Found = true;
  std::multimap<long long, const TLogTree*> fileLists, registryKeys;
  for (const TLogTree& subkey : Product.Subkeys) {
    if (IsFileLogName(subkey.Name))
      fileLists.emplace(NumberAfter(subkey.Name, 5), &subkey);
    else if (fw::SameText(subkey.Name, kRegistryKeysLogKey)) {
      std::string count;
      if (const TLogTreeValue* value = subkey.Value(kLogCountValue); value != nullptr && TextOf(*value, count))
        log.ListCounts[fw::UpperCase(subkey.Name)] = count;
      for (const TLogTree& record : subkey.Subkeys)
        if (IsRegistryLogName(record.Name)) registryKeys.emplace(NumberAfter(record.Name, 11), &record);
    }
  }
  for (const auto& [number, list] : fileLists) {
    for (std::string& entry : ListEntries(*list)) log.Files.push_back(std::move(entry));
    std::string count;
    if (const TLogTreeValue* value = list->Value(kLogCountValue); value != nullptr && TextOf(*value, count))
      log.ListCounts[fw::UpperCase(list->Name)] = count;
  }
  if (const TLogTree* activeX = Product.Subkey(kActiveXLogKey)) {
    std::string count;
    if (const TLogTreeValue* value = activeX->Value(kLogCountValue); value != nullptr && TextOf(*value, count))
      log.ListCounts[fw::UpperCase(activeX->Name)] = count;
    for (std::string& entry : ListEntries(*activeX)) {
      TLoggedActiveX logged;
      if (!ParseActiveXEntry(entry, logged.Path, logged.Kind)) logged.Path.clear();
      logged.Entry = std::move(entry);
      log.ActiveX.push_back(std::move(logged));
    }
  }
  if (const TLogTree* made = Product.Subkey(kMadeFilesLogKey))
    for (const TLogTreeValue& value : made->Values) {
      std::string text;
      TFileRecord record;
      if (TextOf(value, text) && ParseFileRecord(text, record))
        log.FileRecords[fw::UpperCase(value.Name)] = std::move(record);
    }
  if (const TLogTree* made = Product.Subkey(kMadeFoldersLogKey))
    for (const TLogTreeValue& value : made->Values) {
      std::string text;
      if (TextOf(value, text) && IsFolderIdText(text)) log.MadeFolders.push_back({value.Name, text});
    }
  for (const auto& [number, record] : registryKeys) log.RegistryKeys.push_back(ParseRegistryKey(*record));
  return log;
}

}  // namespace setup
