/* Stands in for the running product: it only waits to be ended. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show) {
  (void)instance, (void)previous, (void)command, (void)show;
  Sleep(60000);
  return 0;
}
