// What happens after a click on an install button, in order. The start
// sequence runs from the click; the post-extraction sequence from the first
// 100 % event. Each step after the page switch runs on its own timer tick
// (InstallSteps), so the window stays alive between them; their order is
// the order written here.
#include "install/install_run.h"

#include <atomic>
#include <cwchar>

#include "app/folder_ops.h"
#include "core/path.h"
#include "install/messages.h"
#include "install/report_launcher.h"
#include "install/vmware_prerequisite.h"
#include "payload/extract.h"
#include "payload/extract_worker.h"
#include "system/disk_space.h"
#include "system/previous_install.h"
#include "system/processes.h"
#include "system/shortcuts.h"
#include "system/uninstall_entry.h"
#include "ui/ui_home_page.h"
#include "ui/ui_pages.h"
#include "win/debug_log.h"
#include "win/text_convert.h"

namespace qx::install {
namespace {

std::atomic<UI_HomePage*> g_currentMainWindow{nullptr};
bool g_postExtractionStarted = false;  // main thread only

}  // namespace

void SetCurrentMainWindow(UI_HomePage* main) { g_currentMainWindow.store(main); }
UI_HomePage* CurrentMainWindow() { return g_currentMainWindow.load(); }

HWND InstallingPageWindow() {
  UI_HomePage* main = CurrentMainWindow();
  UI_Installing* page = main ? main->InstallingPage() : nullptr;
  return page ? page->GetHWND() : nullptr;
}

bool PostExtractionStarted() { return g_postExtractionStarted; }
void MarkPostExtractionStarted() { g_postExtractionStarted = true; }

}  // namespace qx::install

using namespace qx::install;

void UI_HomePage::StartInstall() {
  // One run per process: a second click must not start a second worker.
  if (installingPage_) return;

  // 1-2. Disk space; on failure the custom page says how much is needed.
  int requiredGb = 0;
  if (!qx::CheckInstallDiskSpace(GetInstallFolder(), requiredGb)) {
    if (installMode == 1) SwitchPage("UI_CustomInstall");
    if (customPage_) {
      wchar_t text[260];
      std::swprintf(text, 260, L"安装路径所在磁盘空间不足,最低需%dGB空间!", requiredGb);
      customPage_->SetInfoText(text);
    }
    return;
  }

  // 3. The installing page (records the current main window, starts the
  //    loading timer).
  SwitchPage("UI_Installing");
  UI_Installing* page = installingPage_;
  InstallSteps& steps = page->Steps();
  // 4-5. Stop the product's programs, then VMware's.
  steps.Add([] { qx::StopProductProcesses(); });
  steps.Add([] { StopVMwareProcesses(); });
  // 6. Find and remove an earlier install.
  steps.Add([this] {
    std::string previous = GetPreviousInstall();
    qx::FindPreviousInstall(GetRegeditKeyName(), previous);
    SetPreviousInstall(previous);
    qx::RemovePreviousInstall({previous, GetDisplayName(), GetDisplayIcon()});
  });
  // 7. The install folder (its last component only; the engine makes the rest).
  steps.Add([this] {
    const std::string folder = GetInstallFolder();
    if (!qx::FolderExists(folder)) ::CreateDirectoryA(folder.c_str(), nullptr);
  });
  // 8-9. After 300 ms, the extraction worker.
  steps.Add([page] { page->StartExtract(); }, 300);
  steps.Start(page->GetHWND());
}

void UI_Installing::StartExtract() {
  // An unverified codec library has an empty path: the worker then fails with
  // -1 instead of loading whatever stands in the work folder.
  const std::string library = main_->CodecLibrary().Path();
  CExtractManager::GetInstance().SetLibraryPath(library);
  CExtractManager::GetInstance().EnableProgress(false);
  qx::win::DebugLog("%s%s\n", qx::win::WideToGbk(L"开始释放解压文件，7z库文件地址为").c_str(), library.c_str());
  qx::payload::StartExtractWorker(main_->GetInstallFolder(), InstallingPageWindow);
}

void UI_Installing::RunPostExtraction() {
  // 1. The uninstall entry; it also sets the shortcut display name.
  steps_.Add(
      [this] { qx::RegisterUninstallEntry(main_->GetInstallFolder(), main_->GetRegeditKeyName(), shortcutName_); });
  // 2-7. Start-menu shortcuts, then desktop, pin and auto-start as chosen.
  steps_.Add([this] {
    qx::InstallShortcutOptions options;
    options.installFolder = main_->GetInstallFolder();
    options.mainProgram = main_->GetDisplayIcon();
    options.uninstallProgram = main_->GetUninstallString();
    options.displayName = GetShortcutDisplayName();
    options.desktopShortcut = main_->desktopShortcut != 0;
    options.taskbarPin = main_->taskbar != 0;
    options.autoStart = main_->autoStart != 0;
    qx::CreateInstallShortcuts(options);
  });
  // 8. The report program: staged, then started.
  steps_.Add([this] { StageReportProgram(main_->GetInstallFolder()); });
  steps_.Add([this] { LaunchReportProgram(main_->GetInstallFolder()); });
  // 9. The work folder's codec library and settings file (the folder stays).
  steps_.Add([this] {
    main_->CodecLibrary().Release();
    qx::RemoveFileFromFolder(main_->GetWorkFolder(), qx::kCodecLibraryName);
    qx::RemoveFileFromFolder(main_->GetWorkFolder(), qx::kSettingsFileName);
  });
  // 10. The prerequisite: absent or already installed, the run is complete.
  steps_.Add([this] {
    const std::string installFolder = main_->GetInstallFolder();
    if (!qx::FileExists(qx::JoinPath(installFolder, "VMware14.exe")) || !VMwareNeeded()) {
      ShowSuccessPage();
      return;
    }
    StartPrerequisiteInstall();
  });
  steps_.Start(GetHWND());
}

void UI_Installing::StartPrerequisiteInstall() {
  StopVMwareForSetup();
  ::SetTimer(GetHWND(), TIMER_VMWARE_STATUS, 500, nullptr);
  StartPrerequisiteWorker(main_->GetInstallFolder(), InstallingPageWindow);
}

void UI_Installing::FinishAfterPrerequisite() {
  ::KillTimer(GetHWND(), TIMER_VMWARE_STATUS);
  if (status_) status_->SetText(L"VMware完成安装");
  RemoveVMwareSetupFiles(main_->GetInstallFolder());
  main_->SwitchPage("UI_InstallSuccess");
  ::KillTimer(GetHWND(), TIMER_LOADING);
}

void UI_Installing::ShowSuccessPage() {
  ::KillTimer(GetHWND(), TIMER_LOADING);
  main_->SwitchPage("UI_InstallSuccess");
}
