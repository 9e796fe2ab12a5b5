/* Stands in for the installer in the loader tests: writes its command line, its own
   file name and the names of the files beside it into the file that STAVREL_PROBE_OUT
   names, one per line, and ends with exit code 7, or with the code STAVREL_PROBE_EXIT
   gives. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  char target[MAX_PATH], self[MAX_PATH], pattern[MAX_PATH + 2], exitCode[16];
  WIN32_FIND_DATAA data;
  HANDLE find;
  FILE* out;
  char* slash;
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  if (GetEnvironmentVariableA("STAVREL_PROBE_OUT", target, sizeof target) == 0) return 1;
  GetModuleFileNameA(NULL, self, sizeof self);
  out = fopen(target, "wb");
  if (out == NULL) return 2;
  fprintf(out, "%s\n%s\n", GetCommandLineA(), self);
  strcpy(pattern, self);
  slash = strrchr(pattern, '\\');
  if (slash != NULL) strcpy(slash + 1, "*");
  find = FindFirstFileA(pattern, &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) fprintf(out, "%s\n", data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  fclose(out);
  if (GetEnvironmentVariableA("STAVREL_PROBE_EXIT", exitCode, sizeof exitCode) > 0) return atoi(exitCode);
  return 7;
}
