// The main window: the home page, the host of the other pages and the owner
// of the install's shared state.
#pragma once
#include <string>

#include "app/work_folder.h"
#include "dui/dui.h"

class UI_CustomInstall;
class UI_Installing;
class UI_InstallSuccess;

class UI_HomePage : public DuiLib::WindowImplBase {
 public:
  UI_HomePage() = default;
  ~UI_HomePage() override = default;

  // "UI_HomePage", "UI_CustomInstall", "UI_Installing", "UI_InstallSuccess";
  // any other name does nothing.
  void SwitchPage(const std::string& pageName);
  void StartInstall();
  void SetDefaultInstallFolder();

  std::string GetInstallFolder() const { return installFolder_; }
  void SetInstallFolder(const std::string& folder) { installFolder_ = folder; }
  std::string GetRegeditKeyName() const { return regeditKeyName_; }
  std::string GetDisplayIcon() const { return displayIcon_; }
  std::string GetDisplayName() const { return displayName_; }
  std::string GetUninstallString() const { return uninstallString_; }
  std::string GetPreviousInstall() const { return previousInstall_; }
  void SetPreviousInstall(const std::string& folder) { previousInstall_ = folder; }
  std::string GetWorkFolder() const { return workFolder_; }
  // The work folder's codec library, held until the extraction loads it.
  qx::PinnedWorkFile& CodecLibrary() { return codecLibrary_; }
  UI_CustomInstall* CustomPage() const { return customPage_; }
  UI_Installing* InstallingPage() const { return installingPage_; }

  // Read and written directly by the pages and the install run.
  int desktopShortcut = 1;
  int taskbar = 1;
  int autoStart = 1;
  int installMode = 0;  // 1 quick install, 2 from the custom page

  // The page subscribed to every control it handles.
  bool OnPageClick(DuiLib::TNotifyUI& msg);

 protected:
  const char* GetWindowClassName() const override { return "UI_HomePage"; }
  std::wstring GetSkinFolder() override { return L""; }
  std::wstring GetSkinFile() override { return L"UI_HomePage.xml"; }
  LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
  LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

 private:
  void ShowAgreementMessage();

  DuiLib::CTabLayoutUI* tab_ = nullptr;
  DuiLib::CControlUI* customInstallButton_ = nullptr;
  DuiLib::CControlUI* miniButton_ = nullptr;
  DuiLib::CControlUI* closeButton_ = nullptr;
  DuiLib::CControlUI* protocolLink_ = nullptr;
  DuiLib::CControlUI* installButton_ = nullptr;
  DuiLib::CControlUI* agreementText_ = nullptr;
  DuiLib::COptionUI* agreementBox_ = nullptr;
  DuiLib::CControlUI* homeContainer_ = nullptr;
  DuiLib::CContainerUI* customContainer_ = nullptr;
  DuiLib::CContainerUI* installingContainer_ = nullptr;
  DuiLib::CContainerUI* successContainer_ = nullptr;
  UI_CustomInstall* customPage_ = nullptr;
  UI_Installing* installingPage_ = nullptr;
  UI_InstallSuccess* successPage_ = nullptr;
  std::string installFolder_;
  std::string regeditKeyName_;
  std::string displayIcon_;
  std::string displayName_;
  std::string uninstallString_;
  std::string previousInstall_;
  std::string workFolder_;
  qx::PinnedWorkFile codecLibrary_;
};
