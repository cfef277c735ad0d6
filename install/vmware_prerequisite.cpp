#include "install/vmware_prerequisite.h"

#include <shellapi.h>

#include <cstdio>
#include <thread>

#include "app/install_folder.h"
#include "core/path.h"
#include "install/install_rules.h"
#include "install/messages.h"
#include "system/previous_install.h"
#include "system/processes.h"
#include "win/debug_log.h"
#include "win/scoped.h"

namespace qx::install {
namespace {

constexpr const char* kPresenceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vmware.exe";
constexpr const char* kVersionKey = "SOFTWARE\\Wow6432Node\\VMware, Inc.\\VMware Workstation";

void StopIfRunning(const char* name) {
  if (IsProcessRunning(name)) KillProcessByName(name);
}

REGSAM DetectionAccess() { return RunsUnderWow64() ? KEY_READ | KEY_WOW64_64KEY : KEY_READ; }

// ProductVersion's text when it is a whole, terminated string value.
std::string ReadProductVersion() {
  win::ScopedRegKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, DetectionAccess(), key.Receive()) != ERROR_SUCCESS) return {};
  char data[1024] = {};
  DWORD type = 0, size = sizeof data - 1;
  if (::RegQueryValueExA(key.Get(), "ProductVersion", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS)
    return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  if (size != 0 && data[size - 1] != '\0') return {};
  return data;
}

bool WriteBatchFile(const std::string& path, const std::string& text) {
  win::ScopedHandle file(
      ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

void PrerequisiteWorker(const std::string& installFolder, const std::string& quotedInstallFolder,
                        HWND (*reportWindow)()) {
  const std::string batch = JoinPath(installFolder, "Vmware.bat");
  if (!WriteBatchFile(batch, VMwareBatchText(quotedInstallFolder)))
    win::DebugLog("Vmware.bat: %lu\n", static_cast<unsigned long>(::GetLastError()));
  SHELLEXECUTEINFOA run = {};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS;
  run.lpFile = batch.c_str();
  run.nShow = SW_HIDE;
  ::ShellExecuteExA(&run);
  win::ScopedHandle process(run.hProcess);
  if (process) ::WaitForSingleObject(process.Get(), INFINITE);
  if (HWND hwnd = reportWindow ? reportWindow() : nullptr) ::PostMessageA(hwnd, WM_VMWARE_SETUP_DONE, 0, 0);
}

}  // namespace

void StopVMwareProcesses() {
  for (const char* name : {"vmware-vmx.exe", "vmware.exe", "vmplayer.exe"}) StopIfRunning(name);
  ::Sleep(200);
}

bool VMwareNeeded() {
  {
    win::ScopedRegKey presence;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPresenceKey, 0, DetectionAccess(), presence.Receive()) != ERROR_SUCCESS)
      return true;
  }
  return MajorVersion(ReadProductVersion()) != kRequiredVMwareMajor;
}

void StopVMwareForSetup() {
  StopIfRunning("vmware-vmx.exe");
  StopIfRunning("vmware.exe");
  ::Sleep(200);
}

void StartPrerequisiteWorker(const std::string& installFolder, HWND (*reportWindow)()) {
  std::thread(PrerequisiteWorker, installFolder, QuotePathComponents(installFolder), reportWindow).detach();
}

void RemoveVMwareSetupFiles(const std::string& installFolder) {
  const std::string batch = JoinPath(installFolder, "Vmware.bat");
  if (FileExists(batch)) ::DeleteFileA(batch.c_str());
  ::DeleteFileA(JoinPath(installFolder, "Vmware14.exe").c_str());
}

}  // namespace qx::install
