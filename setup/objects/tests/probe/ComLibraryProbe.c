/* A self-registering library for the registration tests: DllRegisterServer writes the
   class key of its probe class as a library of its kind would, naming its own path. */
#include <windows.h>

static HINSTANCE gModule;

#define PROBE_CLASS_KEY "CLSID\\{5E1D7A40-6C2B-4B8E-9A51-0C2F3B7D9E11}"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) gModule = instance;
  return TRUE;
}

HRESULT WINAPI DllRegisterServer(void) {
  char path[MAX_PATH];
  HKEY key;
  LONG result;
  DWORD length = GetModuleFileNameA(gModule, path, sizeof path);
  if (length == 0 || length >= sizeof path) return E_FAIL;
  result =
      RegCreateKeyExA(HKEY_CLASSES_ROOT, PROBE_CLASS_KEY "\\InprocServer32", 0, NULL, 0, KEY_WRITE, NULL, &key, NULL);
  if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)path, length + 1);
  RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, (const BYTE*)"Apartment", 10);
  RegCloseKey(key);
  return S_OK;
}

HRESULT WINAPI DllUnregisterServer(void) {
  RegDeleteKeyA(HKEY_CLASSES_ROOT, PROBE_CLASS_KEY "\\InprocServer32");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, PROBE_CLASS_KEY);
  return S_OK;
}
