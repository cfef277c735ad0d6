#include "app/install_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "win/com.h"
#include "win/text_convert.h"

namespace qx {

bool RunsUnderWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = ::GetModuleHandleA("kernel32");
  if (!kernel) return false;
  auto isWow64 =
      reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

std::string DefaultInstallFolder() { return DefaultInstallFolderFor(RunsUnderWow64()); }

bool ContainsChineseCharacters(std::string_view path) {
  std::wstring wide = win::GbkToWide(path);
  return ContainsRefusedUnit(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string AskForFolder() {
  char buffer[MAX_PATH] = {};
  std::wstring title = L"请选择岚舟模拟器的安装文件夹:";
  std::string ansiTitle = win::WideToAnsi(title);
  BROWSEINFOA info{};
  info.hwndOwner = nullptr;
  info.pidlRoot = nullptr;
  info.pszDisplayName = buffer;
  info.lpszTitle = ansiTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE;
  // The new dialog style needs COM on this thread.
  win::ScopedCoInitialize com;
  PIDLIST_ABSOLUTE item = ::SHBrowseForFolderA(&info);
  if (!item) return {};
  bool gotPath = ::SHGetPathFromIDListA(item, buffer) != FALSE;
  ::CoTaskMemFree(item);
  if (!gotPath) return {};
  return buffer;
}

}  // namespace qx
