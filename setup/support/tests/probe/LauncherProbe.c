/* Started by the launcher tests: writes the command line it received and the start-up
   information's flags and show value into the file that STAVREL_PROBE_OUT names, then
   becomes idle for input and ends. It takes its time first, so a launcher that does
   not wait finds no file. */
#include <windows.h>
#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  char target[MAX_PATH];
  STARTUPINFOA startup;
  FILE* out;
  MSG msg;
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  if (GetEnvironmentVariableA("STAVREL_PROBE_OUT", target, sizeof target) == 0) return 1;
  Sleep(300);
  GetStartupInfoA(&startup);
  out = fopen(target, "wb");
  if (out == NULL) return 2;
  fprintf(out, "%s\n%lu %u\n", GetCommandLineA(), (unsigned long)startup.dwFlags, (unsigned)startup.wShowWindow);
  fclose(out);
  PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
  Sleep(200);
  return 0;
}
