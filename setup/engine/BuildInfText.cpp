#include "BuildInfText.h"

namespace setup {

bool BuildDirectoryFromBuildInf(const std::string& Content, std::string& Directory) {
  Directory.clear();
  if (Content.empty()) return false;
  const size_t end = Content.find_first_of("\r\n");
  const std::string line = Content.substr(0, end);
  size_t first = 0, last = line.size();
  while (first < last && static_cast<unsigned char>(line[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(line[last - 1]) <= ' ') --last;
  if (first == last) return false;
  Directory = line.substr(first, last - first);
  return true;
}

}  // namespace setup
