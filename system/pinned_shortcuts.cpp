#include "system/pinned_shortcuts.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/listed_removal.h"
#include "system/shortcuts.h"
#include "win/com.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace qx {

std::wstring ShortcutTarget(const std::wstring& linkPath) {
  win::ScopedCoInitialize com;
  win::ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())))
    return {};
  win::ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(linkPath.c_str(), STGM_READ))) return {};
  wchar_t target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
  return target;
}

void RemovePinnedShortcuts(const std::string& target) {
  const std::string quickLaunch = QuickLaunchFolder();
  if (quickLaunch.empty()) return;
  const std::wstring pinned = win::AnsiToWide(quickLaunch) + L"\\User Pinned\\TaskBar\\";
  const std::wstring wanted = win::AnsiToWide(target);
  WIN32_FIND_DATAW entry;
  win::ScopedFindHandle find(::FindFirstFileW((pinned + L"*.lnk").c_str(), &entry));
  if (!find.Valid()) return;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring link = pinned + entry.cFileName;
    if (!SameFileName(ShortcutTarget(link), wanted)) continue;
    ::ShellExecuteW(nullptr, L"TaskbarUnpin", link.c_str(), nullptr, nullptr, SW_HIDE);
    ::DeleteFileW(link.c_str());
  } while (::FindNextFileW(find.Get(), &entry));
}

}  // namespace qx
