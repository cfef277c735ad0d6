#include "install/report_launcher.h"

#include <windows.h>

#include <vector>

#include "app/ini_info.h"
#include "app/work_folder.h"
#include "core/path.h"
#include "install/install_rules.h"
#include "win/debug_log.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace qx::install {
namespace {

std::string DisplayVersion() {
  CIniInfoData entry;
  return CIniInfoManager::Instance().FindByKey("DisplayVersion", entry) ? entry.value : std::string();
}

}  // namespace

void StageReportProgram(const std::string& installFolder) {
  EnsureAppDataFolder();
  const std::string folder = ProductAppDataFolder();
  if (!folder.empty()) {
    ::CopyFileA(JoinPath(installFolder, kReportProgramName).c_str(), JoinPath(folder, kReportProgramName).c_str(),
                FALSE);
  }
  ::Sleep(300);
}

void LaunchReportProgram(const std::string& installFolder) {
  const std::string version = DisplayVersion();
  const std::string folder = ProductAppDataFolder();
  const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    win::DebugLog("%s\n", win::WideToGbk(L"error:上传用户信息服务器的文件夹不存在!").c_str());
    return;
  }
  const std::string settings = JoinPath(folder, kReportSettingsName);
  ::WritePrivateProfileStringA("CONFIG", "installPath", installFolder.c_str(), settings.c_str());
  ::WritePrivateProfileStringA("CONFIG", "Version", version.c_str(), settings.c_str());
  const std::string command = ReportCommandLine(JoinPath(folder, kReportProgramName), version);
  win::DebugLog("%s\n", command.c_str());
  RunProgram(command);
}

bool RunProgram(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  // The system may write into the command line: a copy of any length.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  win::ScopedHandle thread(process.hThread), handle(process.hProcess);
  return true;
}

}  // namespace qx::install
