/* Holds a file open without sharing, as a running program may: the
   install's replacement of that file must fail. Says when it holds it. */
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  HANDLE ready = CreateFileW(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  Sleep(10 * 60 * 1000);
  return 0;
}
