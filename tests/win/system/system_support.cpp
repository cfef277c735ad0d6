#include "system_support.h"

#include <windows.h>
#include <shlobj.h>

#include "app/ini_info.h"
#include "temp_folder.h"
#include "win/com.h"
#include "win/text_convert.h"

namespace qx::test {

const char* const kDisplayNameGbk = "\xE1\xB0\xD6\xDB\xC4\xA3\xC4\xE2\xC6\xF7";
const wchar_t* const kDisplayNameWide = L"\u5C9A\u821F\u6A21\u62DF\u5668";

void LoadSettingsText(const std::string& text) {
  static int counter = 0;
  TempFolder folder("settings-" + std::to_string(++counter));
  WriteFile(folder / "info.ini", text);
  CIniInfoManager::Instance().Clear();
  LoadSettings(folder / "info.ini");
}

std::string HelperProgram(const char* fileName) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1) + fileName;
}

ShortcutContent ReadShortcut(const std::wstring& linkPath) {
  ShortcutContent content;
  win::ScopedCoInitialize com;
  win::ComPtr<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.ReceiveVoid())))
    return content;
  win::ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(linkPath.c_str(), STGM_READ))) return content;
  content.loaded = true;
  char text[MAX_PATH] = {};
  link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
  content.target = text;
  char description[MAX_PATH] = {};
  link->GetDescription(description, MAX_PATH);
  content.description = description;
  HANDLE raw = ::CreateFileW(linkPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (raw != INVALID_HANDLE_VALUE) {
    unsigned char header[0x40] = {};
    DWORD read = 0;
    if (::ReadFile(raw, header, sizeof header, &read, nullptr) && read == sizeof header)
      content.showCommand = header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | header[0x3F] << 24;
    ::CloseHandle(raw);
  }
  return content;
}

std::wstring Wide(const std::string& ansi) { return win::AnsiToWide(ansi); }

bool WideExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteWideFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace qx::test
