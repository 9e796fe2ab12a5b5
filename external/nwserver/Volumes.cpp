#include "Volumes.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "gui/WinHandles.h"

namespace nwsim {

std::string TNwPath::Key() const {
  std::string key = Volume + ":";
  for (size_t i = 0; i < Parts.size(); ++i) key += (i ? "\\" : "") + Parts[i];
  return UpperStr(key);
}

bool ParseNwPath(const std::string& text, const TNwPath* base, TNwPath& out) {
  out = TNwPath();
  std::string rest = text;
  size_t colon = rest.find(':');
  if (colon != std::string::npos) {
    std::string vol = rest.substr(0, colon);
    size_t slash = vol.find_last_of("/\\");
    if (slash != std::string::npos) vol = vol.substr(slash + 1);  // server prefix
    if (vol.empty()) return false;
    out.Volume = UpperStr(vol);
    rest = rest.substr(colon + 1);
  } else if (base != nullptr) {
    out = *base;
  } else {
    return false;
  }
  std::string part;
  auto flush = [&] {
    if (part == "..") {
      if (!out.Parts.empty()) out.Parts.pop_back();
    } else if (!part.empty() && part != ".") {
      out.Parts.push_back(part);
    }
    part.clear();
  };
  for (char c : rest) {
    if (c == '\\' || c == '/')
      flush();
    else
      part += c;
  }
  flush();
  return true;
}

bool IsDosName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  size_t dot = name.find('.');
  if (dot != std::string::npos && name.find('.', dot + 1) != std::string::npos) return false;
  std::string stem = name.substr(0, dot), ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (stem.empty() || stem.size() > 8 || ext.size() > 3) return false;
  for (char c : name)
    if (c == ' ' || c == '+' || c == ',' || c == ';' || c == '=' || c == '[' || c == ']') return false;
  return true;
}

std::string DosName(const std::string& longName) {
  if (IsDosName(longName)) return UpperStr(longName);
  size_t dot = longName.find_last_of('.');
  std::string stem = dot == std::string::npos || dot == 0 ? longName : longName.substr(0, dot);
  std::string ext = dot == std::string::npos || dot == 0 ? "" : longName.substr(dot + 1);
  auto clean = [](const std::string& s, size_t max) {
    std::string r;
    for (char c : s)
      if (c != ' ' && c != '.' && c != '+' && c != ',' && c != ';' && c != '=' && c != '[' && c != ']' &&
          r.size() < max)
        r += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return r;
  };
  std::string result = clean(stem, 6) + "~1";
  std::string e = clean(ext, 3);
  return e.empty() ? result : result + "." + e;
}

std::string DosNameIn(const std::vector<TEntry>& entries, size_t index) {
  const std::string& name = entries[index].Name;
  if (IsDosName(name)) return UpperStr(name);
  const std::string first = DosName(name);  // STEM6~1.EXT
  int number = 1;
  for (size_t i = 0; i < index; ++i)
    if (!IsDosName(entries[i].Name) && DosName(entries[i].Name) == first) ++number;
  if (number == 1) return first;
  const size_t tilde = first.find('~');
  std::string suffix = std::to_string(number);
  suffix.insert(suffix.begin(), '~');
  std::string stem = first.substr(0, std::min(tilde, 8 - suffix.size()));
  return stem + suffix + first.substr(tilde + 2);
}

bool WildMatch(const std::string& pattern, const std::string& name) {
  size_t p = 0, n = 0, star = std::string::npos, mark = 0;
  auto same = [](char a, char b) {
    return toupper(static_cast<unsigned char>(a)) == toupper(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++, mark = n;
    } else if (star != std::string::npos) {
      p = star + 1, n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '.')) ++p;
  return p == pattern.size();
}

std::string TVolumes::DosNameOf(const TNwPath& canonical) const {
  if (canonical.Parts.empty()) return "";
  TNwPath parent = canonical;
  parent.Parts.pop_back();
  std::string host;
  TNwPath unused;
  uint32_t code;
  if (!Resolve(parent, host, unused, code)) return DosName(canonical.Parts.back());
  std::vector<TEntry> entries = List(host);
  for (size_t i = 0; i < entries.size(); ++i)
    if (UpperStr(entries[i].Name) == UpperStr(canonical.Parts.back())) return DosNameIn(entries, i);
  return DosName(canonical.Parts.back());
}

bool TVolumes::Exists(const std::string& hostPath, bool* directory) const {
  DWORD a = GetFileAttributesA(hostPath.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  if (directory) *directory = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return true;
}

std::vector<TEntry> TVolumes::List(const std::string& hostDir) const {
  std::vector<TEntry> entries;
  WIN32_FIND_DATAA data;
  fw::TFindHandle find(FindFirstFileA((hostDir + "\\*").c_str(), &data));
  if (!find) return entries;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find.Get(), &data));
  std::sort(entries.begin(), entries.end(),
            [](const TEntry& a, const TEntry& b) { return UpperStr(a.Name) < UpperStr(b.Name); });
  return entries;
}

bool TVolumes::Resolve(const TNwPath& path, std::string& hostPath, TNwPath& canonical, uint32_t& code) const {
  const TVolume* vol = FConfig.FindVolume(path.Volume);
  if (vol == nullptr) {
    code = kVolumeDoesNotExist;
    return false;
  }
  canonical = TNwPath();
  canonical.Volume = vol->Name;
  hostPath = vol->HostDir;
  for (size_t i = 0; i < path.Parts.size(); ++i) {
    const std::string& part = path.Parts[i];
    std::string found;
    for (const TEntry& e : List(hostPath)) {
      if (UpperStr(e.Name) == UpperStr(part)) {
        found = e.Name;
        break;
      }
    }
    if (found.empty()) {
      std::vector<TEntry> entries = List(hostPath);
      for (size_t j = 0; j < entries.size(); ++j)
        if (DosNameIn(entries, j) == UpperStr(part)) {
          found = entries[j].Name;
          break;
        }
    }
    bool last = i + 1 == path.Parts.size();
    if (found.empty()) {
      if (!last) {
        code = kInvalidPath;
        return false;
      }
      found = part;
    }
    hostPath += "\\" + found;
    canonical.Parts.push_back(found);
  }
  code = kOk;
  return true;
}

bool ReadHostFile(const std::string& hostPath, std::string& data) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  data = s.str();
  return true;
}

bool WriteHostFile(const std::string& hostPath, const std::string& data) {
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << data;
  return static_cast<bool>(out);
}

}  // namespace nwsim
