#include "FolderNameRules.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace setup {

namespace {

constexpr std::string_view kBadCharacters = "<>:\"/|?*";

// Where the folder names begin: after "C:\" or after "\\server\share\".
size_t NamesStart(std::string_view Folder) {
  if (Folder.size() >= 2 && Folder[1] == ':') return std::min<size_t>(3, Folder.size());
  if (Folder.substr(0, 2) != "\\\\") return 0;
  size_t server = Folder.find('\\', 2);
  if (server == std::string_view::npos) return Folder.size();
  size_t share = Folder.find('\\', server + 1);
  return share == std::string_view::npos ? Folder.size() : share + 1;
}

bool IsDeviceName(std::string_view Name) {
  // The device names stay devices with any extension and trailing blanks.
  std::string base(Name.substr(0, Name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(plain.begin(), plain.end(), base) != plain.end()) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

}  // namespace

TFolderNameCheck CheckFolderName(std::string_view Folder, size_t DeepestFile) {
  const size_t start = NamesStart(Folder);
  for (size_t i = start; i < Folder.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(Folder[i]);
    if (c < 32 || kBadCharacters.find(static_cast<char>(c)) != std::string_view::npos)
      return {TFolderNameFault::BadCharacter, std::string(1, static_cast<char>(c))};
  }
  for (size_t begin = start; begin < Folder.size();) {
    size_t end = Folder.find('\\', begin);
    if (end == std::string_view::npos) end = Folder.size();
    const std::string_view name = Folder.substr(begin, end - begin);
    if (IsDeviceName(name)) return {TFolderNameFault::DeviceName, std::string(name)};
    begin = end + 1;
  }
  size_t length = Folder.size();
  if (length > 0 && Folder.back() != '\\') ++length;
  if (length + DeepestFile > kLongestPath) return {TFolderNameFault::TooLong, std::string()};
  return {};
}

}  // namespace setup
