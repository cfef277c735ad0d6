// Stand-in for one of the product's programs: it only waits to be ended.
#include <windows.h>

int main() {
  ::Sleep(60000);
  return 3;
}
