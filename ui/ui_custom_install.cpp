#include "app/install_folder.h"
#include "ui/ui_home_page.h"
#include "ui/ui_pages.h"
#include "win/text_convert.h"

namespace {

constexpr wchar_t kCaption[] = L"岚舟模拟器 安装";
constexpr wchar_t kCloseQuestion[] = L"模拟器正在安装，\n确定要关闭模拟器吗?";
constexpr wchar_t kChinesePathRefusal[] = L"岚舟模拟器不支持中文路径安装，请重新选择路径!";

}  // namespace

LRESULT UI_CustomInstall::OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  WindowImplBase::OnCreate(msg, wParam, lParam, handled);
  auto& pm = paintManager_;
  root_ = pm.FindControl(L"root");
  returnButton_ = pm.FindControl(L"btn_return");
  closeButton_ = pm.FindControl(L"btn_close");
  miniButton_ = pm.FindControl(L"btn_mini");
  installButton_ = pm.FindControl(L"btn_install");
  browseButton_ = pm.FindControl(L"btn_browser");
  shortcutOption_ = dynamic_cast<DuiLib::COptionUI*>(pm.FindControl(L"btn_cb_shortcut"));
  taskbarOption_ = dynamic_cast<DuiLib::COptionUI*>(pm.FindControl(L"btn_cb_Launchbar"));
  infoLabel_ = pm.FindControl(L"l_info");
  autoStartOption_ = dynamic_cast<DuiLib::COptionUI*>(pm.FindControl(L"btn_cb_autorun"));
  pathBox_ = pm.FindControl(L"edit_path");
  for (DuiLib::CControlUI* c :
       {returnButton_, closeButton_, miniButton_, installButton_, browseButton_,
        static_cast<DuiLib::CControlUI*>(shortcutOption_), static_cast<DuiLib::CControlUI*>(taskbarOption_), infoLabel_,
        static_cast<DuiLib::CControlUI*>(autoStartOption_), pathBox_}) {
    if (c) c->OnNotify += DuiLib::MakeDelegate(this, &UI_CustomInstall::OnPageClick);
  }
  // On 64-bit Windows the box stays empty and shows its grey placeholder.
  if (pathBox_ && !qx::RunsUnderWow64()) pathBox_->SetText(L"C:\\Program Files\\QXSimulator");
  return 0;
}

LRESULT UI_CustomInstall::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
  ::DestroyWindow(GetHWND());
  handled = TRUE;
  return 0;
}

void UI_CustomInstall::SetInfoText(const std::wstring& text) {
  if (infoLabel_) infoLabel_->SetText(text);
}

bool UI_CustomInstall::OnPageClick(DuiLib::TNotifyUI& msg) {
  if (msg.sType != L"click" || !main_) return true;
  DuiLib::CControlUI* sender = msg.pSender;
  if (sender == returnButton_) {
    for (DuiLib::COptionUI* option : {shortcutOption_, taskbarOption_, autoStartOption_}) {
      if (option) option->Selected(true);
    }
    main_->desktopShortcut = main_->taskbar = main_->autoStart = 1;
    main_->SetDefaultInstallFolder();
    if (pathBox_) pathBox_->SetText(qx::win::AnsiToWide(main_->GetInstallFolder()));
    SetInfoText(L"");
    main_->SwitchPage("UI_HomePage");
  } else if (sender == miniButton_) {
    ::SendMessageA(main_->GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (sender == closeButton_) {
    if (::MessageBoxW(main_->GetHWND(), kCloseQuestion, kCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
      main_->Close(1);
  } else if (sender == browseButton_) {
    SetInfoText(L"");
    if (auto folder = qx::FolderFromDialogChoice(qx::AskForFolder())) {
      if (pathBox_) pathBox_->SetText(qx::win::AnsiToWide(*folder));
      main_->SetInstallFolder(*folder);
    }
  } else if (sender == installButton_) {
    main_->desktopShortcut = shortcutOption_ && shortcutOption_->IsSelected() ? 1 : 0;
    main_->taskbar = taskbarOption_ && taskbarOption_->IsSelected() ? 1 : 0;
    main_->autoStart = autoStartOption_ && autoStartOption_->IsSelected() ? 1 : 0;
    main_->installMode = 2;
    if (qx::ContainsChineseCharacters(main_->GetInstallFolder())) {
      SetInfoText(kChinesePathRefusal);
      return false;
    }
    main_->StartInstall();
  }
  return true;
}
