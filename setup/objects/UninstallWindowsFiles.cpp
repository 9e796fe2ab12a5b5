#include "UninstallWindowsFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/SysUtils.h"
#include "gui/WinHandles.h"
#include "support/RegistryLinks.h"

namespace setup {

namespace {

constexpr char kKnownLibrariesKey[] = "System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs";

// Windows keeps its programs and libraries under these extensions; only such a file can
// be one of its images.
bool HasImageExtension(const std::string& Path) {
  static constexpr std::string_view kExtensions[] = {".EXE", ".DLL", ".OCX", ".SYS", ".DRV", ".CPL", ".SCR", ".COM",
                                                     ".AX",  ".ACM", ".IME", ".TSP", ".MUI", ".OLB", ".EFI", ".FLT"};
  const size_t dot = Path.find_last_of('.'), slash = Path.find_last_of('\\');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string extension = fw::UpperCase(Path.substr(dot));
  return std::find(std::begin(kExtensions), std::end(kExtensions), extension) != std::end(kExtensions);
}

// Only a program or library ("MZ" first) carries a version resource.
bool IsExecutableImage(const std::string& Path) {
  fw::TFileHandle file(CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
  char head[2] = {};
  DWORD read = 0;
  return file && ReadFile(file.Get(), head, sizeof head, &read, nullptr) && read == 2 && head[0] == 'M' &&
         head[1] == 'Z';
}

// Whether any translation of the file's version resource names Windows' maker.
bool HasWindowsMaker(const std::string& Path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(Path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(Path.c_str(), 0, size, data.data())) return false;
  struct TTranslation {
    WORD Language, CodePage;
  };
  TTranslation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length))
    return false;
  for (UINT i = 0; i < length / sizeof(TTranslation); ++i) {
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\CompanyName", translations[i].Language,
                  translations[i].CodePage);
    char* company = nullptr;
    UINT companyLength = 0;
    if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&company), &companyLength) && company != nullptr &&
        fw::UpperCase(std::string(company, strnlen(company, companyLength))).find("MICROSOFT") != std::string::npos)
      return true;
  }
  return false;
}

}  // namespace

TWindowsFiles::TWindowsFiles() {
  fw::TRegKeyHandle known;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKnownLibrariesKey, 0, KEY_READ, known.Put()) != ERROR_SUCCESS) return;
  for (const auto& [name, value] : StoredValuesOf(known.Get(), 4096))
    if (value.Type == REG_SZ || value.Type == REG_EXPAND_SZ)
      FKnownLibraries.insert(fw::UpperCase(value.Data.substr(0, value.Data.find('\0'))));
}

bool TWindowsFiles::IsWindowsFile(const std::string& Path) const {
  const std::string name = fw::UpperCase(Path.substr(Path.find_last_of('\\') + 1));
  if (FKnownLibraries.count(name) != 0) return true;
  return HasImageExtension(Path) && IsExecutableImage(Path) && HasWindowsMaker(Path);
}

}  // namespace setup
