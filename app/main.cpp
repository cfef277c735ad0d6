// Entry point. Until the pages exist the installer only prepares its work
// folder and ends.
#include <windows.h>

#include "app/work_folder.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  qx::PrepareWorkFolder();
  return 0;
}
