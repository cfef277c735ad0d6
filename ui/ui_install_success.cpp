#include <windows.h>

#include <shellapi.h>

#include "app/work_folder.h"
#include "ui/ui_home_page.h"
#include "ui/ui_pages.h"

LRESULT UI_InstallSuccess::OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  WindowImplBase::OnCreate(msg, wParam, lParam, handled);
  auto& pm = paintManager_;
  root_ = pm.FindControl(L"root");
  closeButton_ = pm.FindControl(L"btn_close");
  miniButton_ = pm.FindControl(L"btn_mini");
  openButton_ = pm.FindControl(L"btn_Open");
  for (DuiLib::CControlUI* c : {closeButton_, miniButton_, openButton_}) {
    if (c) c->OnNotify += DuiLib::MakeDelegate(this, &UI_InstallSuccess::OnPageClick);
  }
  return 0;
}

LRESULT UI_InstallSuccess::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
  ::DestroyWindow(GetHWND());
  handled = TRUE;
  return 0;
}

bool UI_InstallSuccess::OnPageClick(DuiLib::TNotifyUI& msg) {
  if (msg.sType != L"click" || !main_) return true;
  if (msg.pSender == miniButton_) {
    ::SendMessageA(main_->GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (msg.pSender == closeButton_ || msg.pSender == openButton_) {
    qx::CleanWorkFolder();
    if (msg.pSender == openButton_) {
      std::string program = main_->GetInstallFolder() + "\\" + main_->GetDisplayIcon();
      ::ShellExecuteA(nullptr, "open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    main_->Close(1);
  }
  return true;
}
