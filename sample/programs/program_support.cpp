#include "sample/programs/program_support.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

#include "core/path.h"
#include "sample/programs/command_line.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace qx::sample {
namespace {

std::wstring CurrentFolder() {
  const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return L"";
  std::wstring folder(size, L'\0');
  folder.resize(::GetCurrentDirectoryW(size, folder.data()));
  return folder;
}

}  // namespace

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring AppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return L"";
  return folder;
}

std::vector<std::wstring> ProgramArguments() {
  // A stand-in program token: CommandLineToArgvW reads its first token by
  // other rules than the rest.
  const std::wstring line = L"p " + std::wstring(ArgumentText(::GetCommandLineW(), ModulePath()));
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::wstring> arguments;
  if (!argv) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(argv[i]);
  ::LocalFree(argv);
  return arguments;
}

bool AppendRunLog() {
  const std::wstring appData = AppDataFolder();
  if (appData.empty()) return false;
  const std::wstring folder = JoinPath(appData, L"QXSimulator");
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  const std::wstring module = ModulePath();
  const std::string line = win::WideToUtf8(module.substr(module.rfind(L'\\') + 1) + L'\t' + ::GetCommandLineW() +
                                           L'\t' + CurrentFolder() + L'\n');
  // Append-only access puts each write at the end of the file as it is
  // then, so the lines of programs starting at once do not overwrite
  // each other; one write per line keeps each line whole.
  win::ScopedHandle file(::CreateFileW(JoinPath(folder, L"sample-runs.log").c_str(), FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

int Refuse(const char* program, const std::string& reason, int exitCode) {
  std::fprintf(stderr, "%s: %s\n", program, reason.c_str());
  return exitCode;
}

}  // namespace qx::sample
