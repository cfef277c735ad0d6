// Entry point: hands the skin to the UI layer, runs the start-up guards and
// the main window's modal loop, then ends without any clean-up.
#include <windows.h>

#include "app/dll_search.h"
#include "app/resource_ids.h"
#include "app/startup_guards.h"
#include "dui/dui_app.h"
#include "ui/ui_home_page.h"
#include "win/own_resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  qx::RestrictDllSearchToSystemFolder();

  std::string_view skin = qx::win::OwnResource(QX_RES_SKIN_ZIP, "ZIP");
  if (!skin.empty()) {
    DuiLib::CPaintManagerUI::SetInstance(instance);
    DuiLib::CWndShadow::Initialize(instance);
    DuiLib::CPaintManagerUI::SetResourceZip(skin.data(), skin.size());
  } else {
    ::MessageBoxW(nullptr, L"加载资源失败!", L"错误", MB_OK | MB_ICONERROR);
  }

  if (qx::RunStartupGuards() != qx::StartupVerdict::kProceed) return 0;

  UI_HomePage window;
  window.Create(nullptr, "QXInstall", 0x96CA0000, WS_EX_WINDOWEDGE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                CW_USEDEFAULT);
  window.CenterWindow();
  window.ShowModal();
  ::TerminateProcess(::GetCurrentProcess(), 0);
  return 0;
}
