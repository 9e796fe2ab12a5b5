/* Holds a file open, shared with nobody, until told to let go.
 *
 *   file_holder <file> <ready event> <release event>
 *
 * Opens <file>, signals the named event <ready event>, then waits for <release event>
 * (one minute at most, so that a failed test leaves no process behind). */
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
  if (ready == NULL || release == NULL) return 3;
  SetEvent(ready);
  WaitForSingleObject(release, 60000);
  CloseHandle(file);
  CloseHandle(ready);
  CloseHandle(release);
  return 0;
}
