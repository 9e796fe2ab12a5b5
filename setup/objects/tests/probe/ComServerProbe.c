/* A self-registering program for the registration tests: with "/REGSERVER" it writes
   the class key of its probe class naming its own path, becomes idle for input and
   ends. */
#include <string.h>
#include <windows.h>

#define PROBE_CLASS_KEY "CLSID\\{5E1D7A41-6C2B-4B8E-9A51-0C2F3B7D9E11}"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  char path[MAX_PATH];
  HKEY key;
  MSG msg;
  DWORD length;
  (void)instance;
  (void)previous;
  (void)show;
  if (strstr(commandLine, "/REGSERVER") == NULL) return 1;
  length = GetModuleFileNameA(NULL, path, sizeof path);
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, PROBE_CLASS_KEY "\\LocalServer32", 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) !=
      ERROR_SUCCESS)
    return 2;
  RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)path, length + 1);
  RegCloseKey(key);
  PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
  return 0;
}
