#include "ui/ui_home_page.h"

#include "app/install_folder.h"
#include "install/install_run.h"
#include "install/messages.h"
#include "ui/ui_pages.h"

namespace {

constexpr wchar_t kCaption[] = L"岚舟模拟器 安装";
constexpr wchar_t kAgreementMessage[] = L"请选择同意《岚舟服务协议》！";
constexpr wchar_t kCloseQuestion[] = L"模拟器正在安装，\n确定要关闭模拟器吗?";
// Child and popup with clipping, created hidden: hiding a shown window makes
// Wine without a window manager wait two seconds for it, frozen.
constexpr DWORD kPageStyle = 0xD6000000 & ~WS_VISIBLE;
constexpr DWORD kPageExStyle = WS_EX_WINDOWEDGE;

template <class T>
T* Find(DuiLib::CPaintManagerUI& pm, const wchar_t* name) {
  return dynamic_cast<T*>(pm.FindControl(name));
}

// A hosted page: a hidden child window whose layout root draws in ours.
template <class Page>
Page* CreatePage(UI_HomePage* main, const char* title) {
  auto* page = new Page;
  page->Create(main->GetHWND(), title, kPageStyle, kPageExStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
               CW_USEDEFAULT);
  page->SetMainWindow(main);
  page->ShowWindow(false, false);
  return page;
}

void Host(DuiLib::CContainerUI* container, DuiLib::CControlUI* root) {
  if (container && root && container->GetCount() == 0) container->Add(root);
}

}  // namespace

LRESULT UI_HomePage::OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  WindowImplBase::OnCreate(msg, wParam, lParam, handled);
  auto& pm = paintManager_;
  tab_ = Find<DuiLib::CTabLayoutUI>(pm, L"tab_control");
  homeContainer_ = pm.FindControl(L"topControl");
  customContainer_ = Find<DuiLib::CContainerUI>(pm, L"Container_custom_install");
  installingContainer_ = Find<DuiLib::CContainerUI>(pm, L"Container_installing");
  successContainer_ = Find<DuiLib::CContainerUI>(pm, L"Container_install_success");
  customInstallButton_ = pm.FindControl(L"btn_custom_install");
  miniButton_ = pm.FindControl(L"btn_mini");
  closeButton_ = pm.FindControl(L"btn_close");
  protocolLink_ = pm.FindControl(L"btn_protocol_text");
  installButton_ = pm.FindControl(L"btn_install");
  agreementBox_ = Find<DuiLib::COptionUI>(pm, L"btn_checkbox");
  agreementText_ = pm.FindControl(L"re_read");
  for (DuiLib::CControlUI* c : {customInstallButton_, miniButton_, closeButton_, protocolLink_, installButton_}) {
    if (c) c->OnNotify += DuiLib::MakeDelegate(this, &UI_HomePage::OnPageClick);
  }

  qx::PreparedWorkFolder prepared = qx::PrepareWorkFolder();
  workFolder_ = prepared.path;
  codecLibrary_ = std::move(prepared.codecLibrary);
  regeditKeyName_ = prepared.uninstallValues.regeditKeyName;
  displayIcon_ = prepared.uninstallValues.displayIcon;
  displayName_ = prepared.uninstallValues.displayName;
  uninstallString_ = prepared.uninstallValues.uninstallString;
  SetDefaultInstallFolder();
  qx::EnsureAppDataFolder();
  return 0;
}

LRESULT UI_HomePage::OnClose(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  // The process ends here: nothing is cleaned up, workers die with it.
  ::DestroyWindow(GetHWND());
  ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(wParam));
  handled = TRUE;
  return 0;
}

void UI_HomePage::SetDefaultInstallFolder() { installFolder_ = qx::DefaultInstallFolder(); }

void UI_HomePage::ShowAgreementMessage() { ::MessageBoxW(GetHWND(), kAgreementMessage, kCaption, MB_OK); }

bool UI_HomePage::OnPageClick(DuiLib::TNotifyUI& msg) {
  if (msg.sType != L"click") return true;
  DuiLib::CControlUI* sender = msg.pSender;
  bool accepted = agreementBox_ && agreementBox_->IsSelected();
  if (sender == customInstallButton_) {
    if (!accepted) {
      ShowAgreementMessage();
      return false;
    }
    SwitchPage("UI_CustomInstall");
  } else if (sender == miniButton_) {
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (sender == closeButton_) {
    if (::MessageBoxW(GetHWND(), kCloseQuestion, kCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) Close(1);
  } else if (sender == protocolLink_) {
    if (agreementText_) agreementText_->SetVisible(!agreementText_->IsVisible());
  } else if (sender == installButton_) {
    installMode = 1;
    if (!accepted) {
      ShowAgreementMessage();
      return false;
    }
    StartInstall();
  }
  return true;
}

void UI_HomePage::SwitchPage(const std::string& pageName) {
  if (!tab_ || !homeContainer_) return;
  if (pageName == "UI_HomePage") {
    homeContainer_->SetBkImage(L"image\\bg_install_step1.bmp");
    tab_->SelectItem(0);
  } else if (pageName == "UI_CustomInstall") {
    if (!customPage_) customPage_ = CreatePage<UI_CustomInstall>(this, "UI_CustomInstall");
    homeContainer_->SetBkImage(L"image\\bg_install_step2.bmp");
    Host(customContainer_, customPage_->Root());
    tab_->SelectItem(1);
  } else if (pageName == "UI_Installing") {
    installingPage_ = CreatePage<UI_Installing>(this, "UI_Installing");
    qx::install::SetCurrentMainWindow(this);
    ::SetTimer(installingPage_->GetHWND(), qx::install::TIMER_LOADING, 2000, nullptr);
    homeContainer_->SetBkImage(L"image\\bg_install_step1.bmp");
    Host(installingContainer_, installingPage_->Root());
    tab_->SelectItem(2);
  } else if (pageName == "UI_InstallSuccess") {
    successPage_ = CreatePage<UI_InstallSuccess>(this, "UI_InstallSuccess");
    homeContainer_->SetBkImage(L"image\\bg_install_success.bmp");
    Host(successContainer_, successPage_->Root());
    tab_->SelectItem(3);
  }
}
