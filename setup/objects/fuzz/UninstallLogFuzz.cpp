// Feeds arbitrary registry trees to the uninstall log's parser, and arbitrary texts to
// its record formats and to the report text, and checks what must hold whatever a log
// holds: a registration entry has a checked path and a known kind, a file's record keeps
// at most its bounded contents and reads back as written, a folder's identity is three
// numbers, a key's made levels stay in their range, and a report fits its limits.
//
// The input describes a tree: each step is one byte, then its operands. Step % 4 == 0
// opens a subkey named by the next length-prefixed text, 1 closes it, 2 adds a value
// (length-prefixed name, a type byte, length-prefixed data), 3 adds a subkey or value
// named from the log's own names (the next byte chooses), so that the fuzzer reaches the
// lists and records quickly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "objects/UninstallLogFormat.h"
#include "objects/UninstallReportText.h"
#include "objects/UninstallRules.h"

using namespace setup;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

const char* const kNames[] = {"Files",      "Files1",    "ActiveX", "RegistryKeys", "RegistryKey1", "Entries",
                              "MadeFiles",  "MadeFolders", "MadeValues", "File1",      "File2",        "Key",
                              "Root",       "MadeLevels",  "C:\\App\\a.dll", "C:\\App"};

class TReader {
 public:
  TReader(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  bool AtEnd() const { return FAt >= FSize; }
  uint8_t Byte() { return FAt < FSize ? FData[FAt++] : 0; }
  std::string Text() {
    const size_t length = Byte();
    std::string text;
    while (text.size() < length && !AtEnd()) text.push_back(static_cast<char>(Byte()));
    return text;
  }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FAt = 0;
};

TLogTree BuildTree(TReader& Reader) {
  TLogTree root;
  std::vector<TLogTree*> open{&root};
  int steps = 0;
  while (!Reader.AtEnd() && ++steps < 4096) {
    const uint8_t step = Reader.Byte();
    TLogTree& current = *open.back();
    switch (step % 4) {
      case 0:
      case 3:
        if (step % 4 == 3 && (Reader.Byte() & 1) != 0) {
          current.Values.push_back({kNames[Reader.Byte() % std::size(kNames)], Reader.Byte(), Reader.Text()});
          break;
        }
        if (open.size() >= 5) break;
        current.Subkeys.push_back(TLogTree());
        current.Subkeys.back().Name = step % 4 == 3 ? kNames[Reader.Byte() % std::size(kNames)] : Reader.Text();
        open.push_back(&current.Subkeys.back());
        break;
      case 1:
        if (open.size() > 1) open.pop_back();
        break;
      case 2: {
        TLogTreeValue value;
        value.Name = Reader.Text();
        value.Type = Reader.Byte();
        value.Data = Reader.Text();
        current.Values.push_back(std::move(value));
        break;
      }
    }
  }
  return root;
}

void CheckRecordText(const std::string& Text) {
  TFileRecord record;
  if (!ParseFileRecord(Text, record)) return;
  Check(record.Contents.size() <= kMaxRecordedContents);
  TFileRecord again;
  Check(ParseFileRecord(FileRecordText(record), again));
  Check(again == record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TReader reader(data, size);
  const TUninstallLog log = ParseUninstallLog(BuildTree(reader));
  Check(log.Found);
  for (const TLoggedActiveX& entry : log.ActiveX) {
    if (entry.Path.empty()) continue;
    std::string checked;
    Check(NormalizePath(entry.Path, checked));
    Check(entry.Kind == kActiveXLibrary || entry.Kind == kActiveXServer || entry.Kind == kActiveXTypeLibrary);
  }
  for (const auto& [path, record] : log.FileRecords) {
    Check(record.Contents.size() <= kMaxRecordedContents);
    Check(log.RecordOf(path) == &record);
  }
  for (const TMadeFolder& folder : log.MadeFolders) Check(IsFolderIdText(folder.Id));
  for (const TLoggedRegistryKey& key : log.RegistryKeys) {
    Check(IsRegistryLogName(key.Entry));
    Check(key.MadeLevels >= 0 && key.MadeLevels <= 512);
  }

  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckRecordText(text);
  const char kind = ActiveXKindOfName(text);
  Check(kind == kActiveXLibrary || kind == kActiveXServer || kind == kActiveXTypeLibrary);

  // The report of the input's lines, in a box of a few short lines.
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  TReportLimits limits;
  limits.MaxLines = size % 7;
  limits.MaxLineLength = 8 + size % 40;
  const std::string report = UninstallReportText("Product", true, lines, limits);
  // The first line, each shown line (cut to its limit) and "and N more".
  const size_t bound = std::string("Product was removed, except for these items:\r\n").size() +
                       limits.MaxLines * (limits.MaxLineLength + 2) + 40;
  if (!lines.empty()) Check(report.size() <= bound);
  return 0;
}
