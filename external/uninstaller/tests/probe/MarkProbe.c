/* A library and a program that leave a mark when they are loaded or run, for the tests
   that the uninstaller runs or loads nothing but the installation's own files: the mark is
   a file named after the module with ".mark" appended, in the folder the environment
   names in STAVREL_MARKS (beside the module without it). It says "loaded" or "ran", then
   "held" when the module's own file could not be opened to be renamed or deleted at that
   moment, "open" when it could.
   Built as a library (DllMain and DllUnregisterServer) and, with MARK_PROGRAM, as a
   program. */
#include <string.h>
#include <windows.h>

static void LeaveMark(HMODULE module, const char* what) {
  char path[MAX_PATH], folder[MAX_PATH], mark[2 * MAX_PATH];
  const char* name;
  HANDLE file;
  DWORD written;
  int held;
  if (GetModuleFileNameA(module, path, sizeof path) == 0) return;
  name = strrchr(path, '\\') != NULL ? strrchr(path, '\\') + 1 : path;
  /* Renaming or deleting needs no more than this access, which a running program's or a
     loaded library's own file otherwise allows. */
  file = CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0,
                     NULL);
  held = file == INVALID_HANDLE_VALUE;
  if (!held) CloseHandle(file);
  if (GetEnvironmentVariableA("STAVREL_MARKS", folder, sizeof folder) == 0) {
    strcpy(folder, path);
    *strrchr(folder, '\\') = '\0';
  }
  lstrcpyA(mark, folder);
  lstrcatA(mark, "\\");
  lstrcatA(mark, name);
  lstrcatA(mark, ".mark");
  file = CreateFileA(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  WriteFile(file, what, (DWORD)strlen(what), &written, NULL);
  WriteFile(file, held ? " held" : " open", 5, &written, NULL);
  CloseHandle(file);
}

#ifdef MARK_PROGRAM
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  LeaveMark(NULL, "ran");
  return 0;
}
#else
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) LeaveMark(instance, "loaded");
  return TRUE;
}

HRESULT WINAPI DllUnregisterServer(void) {
  return S_OK;
}
#endif
