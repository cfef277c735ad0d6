// install_probe: reads back what an install left in the prefix, through
// the Windows APIs the product and the system use, and prints it as UTF-8
// lines for the scenario scripts.
//   reg 32|64 HKLM|HKCU\KEY   values as name|type|data (exit 1: no key)
//   setreg 32|64 HKLM\KEY NAME TEXT   a REG_SZ value (NAME "" the default)
//   iconic TITLE              exit 0 when the window is minimised
//   restore TITLE             brings a minimised window back
//   lnk PATH                  the shortcut's target path
//   folder CSIDL              a special folder's path
//   box CAPTION SECONDS       the text of a message box with that caption
//   loop-gap TITLE FILE       longest wait (ms) for the window's message
//                             loop until the window goes; written to FILE
//   running NAME              exit 0 while a process whose file name begins
//                             with NAME runs (any letter case); prints them
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "win/com.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace {

void Print(const std::wstring& line) {
  const std::string utf8 = qx::win::WideToUtf8(line) + "\n";
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

HKEY RootOf(const std::wstring& path);
REGSAM ViewOf(const std::wstring& view);

int Registry(const std::wstring& view, const std::wstring& path) {
  qx::win::ScopedRegKey key;
  if (::RegOpenKeyExW(RootOf(path), path.substr(path.find(L'\\') + 1).c_str(), 0, KEY_READ | ViewOf(view),
                      key.Receive()) != ERROR_SUCCESS)
    return 1;
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameSize = 512, type = 0, size = 0;
    BYTE data[4096] = {};
    size = sizeof data - 2;
    if (::RegEnumValueW(key.Get(), i, name, &nameSize, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    std::wstring line = std::wstring(name) + L"|";
    if (type == REG_DWORD) {
      line += L"REG_DWORD|" + std::to_wstring(*reinterpret_cast<DWORD*>(data));
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
      line += (type == REG_SZ ? L"REG_SZ|" : L"REG_EXPAND_SZ|") + std::wstring(reinterpret_cast<wchar_t*>(data));
    } else {
      line += L"type" + std::to_wstring(type) + L"|";
    }
    Print(line);
  }
  return 0;
}

HKEY RootOf(const std::wstring& path) { return path.rfind(L"HKCU\\", 0) == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
REGSAM ViewOf(const std::wstring& view) { return view == L"32" ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

int SetRegistry(const std::wstring& view, const std::wstring& path, const std::wstring& name,
                const std::wstring& text) {
  qx::win::ScopedRegKey key;
  if (::RegCreateKeyExW(RootOf(path), path.substr(path.find(L'\\') + 1).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE | ViewOf(view), nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
    return 1;
  const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), size) == ERROR_SUCCESS
             ? 0
             : 1;
}

int Restore(const std::wstring& title) {
  HWND window = ::FindWindowW(nullptr, title.c_str());
  if (!window) return 1;
  ::ShowWindow(window, SW_RESTORE);
  return ::IsIconic(window) ? 1 : 0;
}

int LinkTarget(const std::wstring& path) {
  qx::win::ScopedCoInitialize com;
  qx::win::ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())))
    return 2;
  qx::win::ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(path.c_str(), STGM_READ))) return 1;
  wchar_t target[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  Print(target);
  return 0;
}

int SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return 1;
  Print(path);
  return 0;
}

int BoxText(const std::wstring& caption, int seconds) {
  for (int i = 0; i < seconds * 10; ++i, ::Sleep(100)) {
    HWND box = ::FindWindowW(L"#32770", caption.c_str());
    if (!box) continue;
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
    if (!*text) continue;  // not filled in yet
    Print(text);
    return 0;
  }
  return 1;
}

int LoopGap(const std::wstring& title, const std::wstring& out) {
  HWND window = nullptr;
  for (int i = 0; i < 600 && !window; ++i, ::Sleep(50)) window = ::FindWindowW(nullptr, title.c_str());
  if (!window) return 1;
  ULONGLONG longest = 0;
  while (::IsWindow(window)) {
    const ULONGLONG start = ::GetTickCount64();
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    const ULONGLONG took = ::GetTickCount64() - start;
    if (took > longest && ::IsWindow(window)) {
      longest = took;
      // Written at each new high: the installer ends the prefix's processes.
      qx::win::ScopedHandle file(
          ::CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
      const std::string text = std::to_string(longest) + "\n";
      DWORD written = 0;
      if (file) ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    ::Sleep(20);
  }
  return 0;
}

int Running(const std::wstring& prefix) {
  qx::win::ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) return 2;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  int found = 1;
  for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
    const std::wstring name = entry.szExeFile;
    if (name.size() >= prefix.size() &&
        ::CompareStringOrdinal(name.c_str(), static_cast<int>(prefix.size()), prefix.c_str(), -1, TRUE) == CSTR_EQUAL) {
      Print(name);
      found = 0;
    }
  }
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring verb = argc > 1 ? argv[1] : L"";
  if (verb == L"reg" && argc == 4) return Registry(argv[2], argv[3]);
  if (verb == L"setreg" && argc == 6) return SetRegistry(argv[2], argv[3], argv[4], argv[5]);
  if (verb == L"restore" && argc == 3) return Restore(argv[2]);
  if (verb == L"iconic" && argc == 3) return ::IsIconic(::FindWindowW(nullptr, argv[2])) ? 0 : 1;
  if (verb == L"lnk" && argc == 3) return LinkTarget(argv[2]);
  if (verb == L"folder" && argc == 3) return SpecialFolder(_wtoi(argv[2]));
  if (verb == L"box" && argc == 4) return BoxText(argv[2], _wtoi(argv[3]));
  if (verb == L"loop-gap" && argc == 4) return LoopGap(argv[2], argv[3]);
  if (verb == L"running" && argc == 3) return Running(argv[2]);
  std::fputs("usage: install_probe reg|setreg|restore|lnk|folder|box|loop-gap|running ...\n", stderr);
  return 2;
}
