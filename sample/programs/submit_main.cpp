// Writes the install report beside its settings file:
//   HttpInstallSubmit.exe "<build>_0"
// with submitconfig.ini ([CONFIG] installPath, Version) in its own folder.
#include <windows.h>

#include "core/path.h"
#include "sample/programs/program_support.h"
#include "sample/programs/report_rules.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace {

constexpr char kProgram[] = "HttpInstallSubmit";
constexpr int kRefusedExit = 2;

std::wstring ReadSetting(const wchar_t* key, const std::wstring& file) {
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD n =
        ::GetPrivateProfileStringW(L"CONFIG", key, L"", value.data(), static_cast<DWORD>(value.size()), file.c_str());
    // size - 1 means the value was cut: read again with more room.
    if (n + 1 < value.size()) {
      value.resize(n);
      return value;
    }
    value.resize(value.size() * 2);
  }
}

std::string WindowsVersionText() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  // RtlGetVersion tells the real version; GetVersionExW may be told a
  // compatible one by the manifest rules.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info)) return "";
#pragma GCC diagnostic pop
  }
  return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
         std::to_string(info.dwBuildNumber);
}

std::string UtcNowText() {
  SYSTEMTIME now;
  ::GetSystemTime(&now);
  return qx::sample::UtcTimeText(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

// Written whole under another name, then moved over the old report, so a
// reader sees the old report or the new one, never a part.
bool ReplaceFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring temporary = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  {
    qx::win::ScopedHandle file(
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool whole = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size() && ::FlushFileBuffers(file.Get());
    if (!whole) {
      file.Reset();
      ::DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  ::DeleteFileW(temporary.c_str());
  return false;
}

}  // namespace

int main() {
  using namespace qx::sample;
  const std::wstring folder = qx::ParentFolder(ModulePath());
  const std::wstring settings = qx::JoinPath(folder, L"submitconfig.ini");
  SubmitRequest request;
  request.arguments = ProgramArguments();
  request.settingsFound = ::GetFileAttributesW(settings.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (request.settingsFound) {
    request.installPath = ReadSetting(L"installPath", settings);
    request.version = ReadSetting(L"Version", settings);
  }
  if (const std::string reason = CheckSubmitRequest(request); !reason.empty())
    return Refuse(kProgram, reason, kRefusedExit);

  InstallReport report;
  report.version = qx::win::WideToUtf8(request.version);
  report.build = qx::win::WideToUtf8(BuildOfVersion(request.version));
  report.installPath = qx::win::WideToUtf8(request.installPath);
  report.windows = WindowsVersionText();
  report.time = UtcNowText();
  if (!ReplaceFile(qx::JoinPath(folder, L"install-report.json"), InstallReportJson(report)))
    return Refuse(kProgram, "install-report.json could not be written", kFailedExit);
  AppendRunLog();
  return 0;
}
