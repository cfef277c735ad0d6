// The pages hosted in the main window's tab layout.
#pragma once
#include <string>

#include "dui/dui.h"
#include "install/install_steps.h"

class UI_HomePage;

class UI_CustomInstall : public DuiLib::WindowImplBase {
 public:
  void SetMainWindow(UI_HomePage* main) { main_ = main; }
  DuiLib::CControlUI* Root() const { return root_; }
  // The red line under the path box (refusals, disk space).
  void SetInfoText(const std::wstring& text);
  bool OnPageClick(DuiLib::TNotifyUI& msg);

 protected:
  const char* GetWindowClassName() const override { return "UI_CustomInstall"; }
  std::wstring GetSkinFolder() override { return L""; }
  std::wstring GetSkinFile() override { return L"UI_CustomInstall.xml"; }
  LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
  LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

 private:
  UI_HomePage* main_ = nullptr;
  DuiLib::CControlUI* root_ = nullptr;
  DuiLib::CControlUI* returnButton_ = nullptr;
  DuiLib::CControlUI* closeButton_ = nullptr;
  DuiLib::CControlUI* miniButton_ = nullptr;
  DuiLib::CControlUI* installButton_ = nullptr;
  DuiLib::CControlUI* browseButton_ = nullptr;
  DuiLib::COptionUI* shortcutOption_ = nullptr;
  DuiLib::COptionUI* taskbarOption_ = nullptr;
  DuiLib::CControlUI* infoLabel_ = nullptr;
  DuiLib::COptionUI* autoStartOption_ = nullptr;
  DuiLib::CControlUI* pathBox_ = nullptr;
};

class UI_Installing : public DuiLib::WindowImplBase {
 public:
  void SetMainWindow(UI_HomePage* main) { main_ = main; }
  DuiLib::CControlUI* Root() const { return root_; }
  bool OnPageClick(DuiLib::TNotifyUI& msg);
  std::string GetShortcutDisplayName() const { return shortcutName_; }
  qx::install::InstallSteps& Steps() { return steps_; }

  // The install run's parts that live on this page (install/install_run.cpp).
  void StartExtract();
  void RunPostExtraction();
  void StartPrerequisiteInstall();
  void FinishAfterPrerequisite();
  void ShowSuccessPage();

 protected:
  const char* GetWindowClassName() const override { return "UI_Installing"; }
  std::wstring GetSkinFolder() override { return L""; }
  std::wstring GetSkinFile() override { return L"UI_Installing.xml"; }
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
  LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

 private:
  void OnProgress(int percent);
  void OnExtractFailed(int code);

  UI_HomePage* main_ = nullptr;
  DuiLib::CControlUI* root_ = nullptr;
  DuiLib::CControlUI* closeButton_ = nullptr;
  DuiLib::CControlUI* miniButton_ = nullptr;
  DuiLib::CLabelUI* loading_ = nullptr;
  DuiLib::CProgressUI* progress_ = nullptr;
  DuiLib::CLabelUI* percent_ = nullptr;
  DuiLib::CLabelUI* status_ = nullptr;
  std::string shortcutName_;
  qx::install::InstallSteps steps_;
};

class UI_InstallSuccess : public DuiLib::WindowImplBase {
 public:
  void SetMainWindow(UI_HomePage* main) { main_ = main; }
  DuiLib::CControlUI* Root() const { return root_; }
  bool OnPageClick(DuiLib::TNotifyUI& msg);

 protected:
  const char* GetWindowClassName() const override { return "UI_InstallSuccess"; }
  std::wstring GetSkinFolder() override { return L""; }
  std::wstring GetSkinFile() override { return L"UI_InstallSuccess.xml"; }
  LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;
  LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) override;

 private:
  UI_HomePage* main_ = nullptr;
  DuiLib::CControlUI* root_ = nullptr;
  DuiLib::CControlUI* closeButton_ = nullptr;
  DuiLib::CControlUI* miniButton_ = nullptr;
  DuiLib::CControlUI* openButton_ = nullptr;
};
