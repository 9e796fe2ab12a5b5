#include "FileHandles.h"

#include <windows.h>

namespace setup {

void* Kernel32Procedure(const char* Name) {
  return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), Name));
}

std::string FinalPathOf(void* Handle) {
  using TGetFinalPathName = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  const auto getFinalPathName = Kernel32Function<TGetFinalPathName>("GetFinalPathNameByHandleA");
  char buffer[1024];
  const DWORD length = getFinalPathName != nullptr ? getFinalPathName(Handle, buffer, sizeof buffer, 0) : 0;
  if (length == 0 || length >= sizeof buffer) return std::string();
  std::string path(buffer, length);
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + path.substr(8);
  if (path.rfind("\\\\?\\", 0) == 0) path.erase(0, 4);
  return path;
}

}  // namespace setup
