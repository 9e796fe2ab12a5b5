// Scratch folders with source files of given sizes and dates for the file-object tests.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

#include "support/Registry.h"

namespace setup::testing {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TScratchFolder {
 public:
  explicit TScratchFolder(const std::string& Tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    FPath = std::string(temp) + "fileobj_" + Tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter);
    Remove(FPath);
    CreateDirectoryA(FPath.c_str(), nullptr);
  }
  ~TScratchFolder() { Remove(FPath); }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& Name) const { return FPath + "\\" + Name; }
  std::string Folder(const std::string& Name) const {
    std::string path = *this / Name;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
  }

  static void Remove(const std::string& Path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((Path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string child = Path + "\\" + name;
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(child);
        else
          DeleteFileA(child.c_str());
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(Path.c_str());
  }

 private:
  std::string FPath;
};

// Content of Size bytes that tells files apart by Seed.
inline std::string Content(size_t Size, char Seed) {
  std::string text(Size, ' ');
  for (size_t i = 0; i < Size; ++i) text[i] = static_cast<char>(Seed + (i * 7 + i / 13) % 23);
  return text;
}

inline void WriteFile(const std::string& Path, const std::string& Data) {
  std::ofstream(Path, std::ios::binary | std::ios::trunc) << Data;
}

inline std::string ReadFile(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets the file's write time to the given day of 2020 (noon, even seconds).
inline void SetFileDay(const std::string& Path, int Day) {
  SYSTEMTIME time{};
  time.wYear = 2020;
  time.wMonth = 1;
  time.wDay = static_cast<WORD>(Day);
  time.wHour = 12;
  FILETIME local, utc;
  SystemTimeToFileTime(&time, &local);
  LocalFileTimeToFileTime(&local, &utc);
  HANDLE file = CreateFileA(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
}

inline bool Exists(const std::string& Path) {
  return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace setup::testing
