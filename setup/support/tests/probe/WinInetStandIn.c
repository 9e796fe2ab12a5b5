/* A stand-in for the internet library that has only its first two entry points: loading
   it must name the third one as missing. */
#include <windows.h>

__declspec(dllexport) BOOL WINAPI InternetGetLastResponseInfoA(DWORD* error, char* buffer, DWORD* length) {
  return FALSE;
}

__declspec(dllexport) void* WINAPI InternetOpenA(const char* agent, DWORD access, const char* proxy,
                                                  const char* bypass, DWORD flags) {
  return NULL;
}
