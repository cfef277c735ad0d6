/* Stands in for the running product: says it is up (a file in the prefix,
   so the scenario knows Windows lists it), then waits to be ended. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
  (void)instance, (void)previous, (void)command, (void)show;
  HANDLE ready = CreateFileA("C:\\product-ready", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  Sleep(10 * 60 * 1000);
  return 0;
}
