// The auto-start helper: no window; it records its start and stays until
// it is ended (a WM_QUIT to its thread ends it cleanly).
#include <windows.h>

#include "sample/programs/program_support.h"
#include "win/debug_log.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (!qx::sample::AppendRunLog()) qx::win::DebugLog("QXBallonTips: the run log could not be written");
  MSG message = {};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}
