/* A stand-in for one of the product's programs: it carries the program's version
   resource (the setup compares versions when it overwrites) and does nothing else. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  return 0;
}
