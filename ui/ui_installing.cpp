#include "install/install_rules.h"
#include "install/install_run.h"
#include "install/messages.h"
#include "ui/ui_home_page.h"
#include "ui/ui_pages.h"

namespace {

// Touched on the main thread only.
int g_loadingFrame = 0;
int g_statusFrame = 0;

}  // namespace

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

LRESULT UI_Installing::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  using namespace qx::install;
  if (msg == WM_TIMER && wParam == TIMER_LOADING) {
    if (loading_) loading_->SetBkImage(L"image\\" + NextLoadingFrame(g_loadingFrame));
  } else if (msg == WM_TIMER && wParam == TIMER_VMWARE_STATUS) {
    if (status_) status_->SetText(NextVMwareStatus(g_statusFrame));
  } else if (msg == WM_TIMER && wParam == TIMER_INSTALL_STEP) {
    steps_.OnTimer(GetHWND());
  } else if (msg == WM_INSTALL_PROGRESS) {
    OnProgress(static_cast<int>(wParam));
  } else if (msg == WM_VMWARE_SETUP_DONE) {
    FinishAfterPrerequisite();
  } else if (msg == WM_EXTRACT_FAILED) {
    OnExtractFailed(static_cast<int>(static_cast<INT_PTR>(wParam)));
  }
  return WindowImplBase::HandleMessage(msg, wParam, lParam);
}

void UI_Installing::OnProgress(int percent) {
  if (progress_) progress_->SetValue(percent);
  if (percent_) percent_->SetText(qx::install::PercentText(percent));
  if (percent == 100 && !qx::install::PostExtractionStarted()) {
    qx::install::MarkPostExtractionStarted();
    RunPostExtraction();
  }
}

void UI_Installing::OnExtractFailed(int code) {
  // A failure after 100 % still finds the registration done, as it would if
  // the steps had run in one go.
  steps_.RunAllNow(GetHWND());
  ::MessageBoxW(nullptr, qx::install::ExtractFailureText(code).c_str(), L"岚舟模拟器 安装", MB_OK);
  if (main_ && ::IsWindow(main_->GetHWND())) ::PostMessageA(main_->GetHWND(), WM_CLOSE, 1, 0);
}
