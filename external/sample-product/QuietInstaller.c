/* A stand-in for an installer that the setup runs after copying the product's files:
   with "/q" or "/Q" it installs quietly (here: it ends at once and reports success);
   without, it would have asked its user, and ends with 1. */
#include <string.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)show;
  return (strstr(commandLine, "/q") != NULL || strstr(commandLine, "/Q") != NULL) ? 0 : 1;
}
