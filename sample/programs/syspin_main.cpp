// Pins a program to the taskbar as the shell records a pin: a shortcut in
// the user's "User Pinned\TaskBar" folder.
//   syspin "<folder>\<program>.exe" c:5386
#include <windows.h>
#include <shlobj.h>

#include "core/path.h"
#include "sample/programs/pin_rules.h"
#include "sample/programs/program_support.h"
#include "win/com.h"

namespace {

constexpr char kProgram[] = "syspin";
constexpr int kRefusedExit = 2;

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SaveShortcut(const std::wstring& linkPath, const std::wstring& target) {
  qx::win::ScopedCoInitialize com;
  qx::win::ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())))
    return false;
  if (FAILED(link->SetPath(target.c_str()))) return false;
  link->SetWorkingDirectory(qx::ParentFolder(target).c_str());
  qx::win::ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  return file && SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

}  // namespace

int main() {
  using namespace qx::sample;
  const std::vector<std::wstring> arguments = ProgramArguments();
  if (const std::string reason = CheckPinArguments(arguments); !reason.empty())
    return Refuse(kProgram, reason, kRefusedExit);
  const std::wstring& target = arguments[0];
  if (!IsExistingFile(target)) return Refuse(kProgram, "the file to pin does not exist", kRefusedExit);

  const std::wstring appData = AppDataFolder();
  if (appData.empty()) return Refuse(kProgram, "no application-data folder", kFailedExit);
  const std::wstring folder =
      qx::JoinPath(appData, L"Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar");
  const int created = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS)
    return Refuse(kProgram, "the pin folder could not be created", kFailedExit);
  if (!SaveShortcut(qx::JoinPath(folder, PinLinkName(target)), target))
    return Refuse(kProgram, "the pin could not be saved", kFailedExit);
  AppendRunLog();
  return 0;
}
