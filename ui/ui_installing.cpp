#include "ui/ui_home_page.h"
#include "ui/ui_pages.h"

LRESULT UI_Installing::OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  WindowImplBase::OnCreate(msg, wParam, lParam, handled);
  auto& pm = paintManager_;
  root_ = pm.FindControl(L"root");
  closeButton_ = pm.FindControl(L"btn_close");
  miniButton_ = pm.FindControl(L"btn_mini");
  loading_ = dynamic_cast<DuiLib::CLabelUI*>(pm.FindControl(L"l_loading"));
  percent_ = dynamic_cast<DuiLib::CLabelUI*>(pm.FindControl(L"l_percent"));
  status_ = dynamic_cast<DuiLib::CLabelUI*>(pm.FindControl(L"l_installing"));
  progress_ = dynamic_cast<DuiLib::CProgressUI*>(pm.FindControl(L"p_progress"));
  for (DuiLib::CControlUI* c : {closeButton_, miniButton_, static_cast<DuiLib::CControlUI*>(progress_)}) {
    if (c) c->OnNotify += DuiLib::MakeDelegate(this, &UI_Installing::OnPageClick);
  }
  return 0;
}

LRESULT UI_Installing::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
  ::DestroyWindow(GetHWND());
  handled = TRUE;
  return 0;
}

bool UI_Installing::OnPageClick(DuiLib::TNotifyUI& msg) {
  // The close button is disabled while installing; only minimise acts.
  if (msg.sType == L"click" && main_ && msg.pSender == miniButton_)
    ::SendMessageA(main_->GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  return true;
}
