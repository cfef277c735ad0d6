// Stand-in for the taskbar-pin program: records its command line in
// syspin-command.txt beside itself, then ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (char* slash = std::strrchr(path, '\\')) std::strcpy(slash + 1, "syspin-command.tmp");
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return 1;
  std::fputs(::GetCommandLineA(), out);
  std::fclose(out);
  // Appears whole: the test waits for the final name.
  char done[MAX_PATH];
  std::strcpy(done, path);
  std::strcpy(std::strrchr(done, '.'), ".txt");
  ::MoveFileA(path, done);
  return 0;
}
