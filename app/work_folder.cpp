#include "app/work_folder.h"

#include <windows.h>
#include <io.h>
#include <shlobj.h>

#include <cstring>
#include <direct.h>

#include "app/folder_ops.h"
#include "app/resource_ids.h"
#include "core/path.h"
#include "win/own_resource.h"

namespace qx {
namespace {

bool FileHoldsExactly(HANDLE file, std::string_view expected) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart != static_cast<LONGLONG>(expected.size())) return false;
  std::string actual(expected.size(), '\0');
  DWORD read = 0;
  if (!::ReadFile(file, actual.data(), static_cast<DWORD>(actual.size()), &read, nullptr)) return false;
  return read == expected.size() && actual == expected;
}

}  // namespace

std::string WorkFolderPath() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(sizeof temp, temp);
  return std::string(temp, strnlen(temp, 3)) + "qxextract";
}

bool WriteResourceToFile(const std::string& folder, std::string_view name, int id, const char* type) {
  const std::string_view bytes = win::OwnResource(id, type);
  if (bytes.empty()) return false;
  win::ScopedHandle file(::CreateFileA(JoinPath(folder, name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

PinnedWorkFile PinResourceFile(const std::string& folder, std::string_view name, int id, const char* type) {
  const std::string path = JoinPath(folder, name);
  const std::string_view bytes = win::OwnResource(id, type);
  if (bytes.empty()) return {};
  // Readers may share; writers and deleters may not, until Release().
  win::ScopedHandle pin(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!pin || !FileHoldsExactly(pin.Get(), bytes)) return {};
  return PinnedWorkFile(path, std::move(pin));
}

PreparedWorkFolder PrepareWorkFolder() {
  PreparedWorkFolder prepared;
  prepared.path = WorkFolderPath();
  if (!FolderExists(prepared.path)) ::CreateDirectoryA(prepared.path.c_str(), nullptr);

  WriteResourceToFile(prepared.path, kCodecLibraryName, QX_RES_CODEC_DLL, "EXEDLL");
  WriteResourceToFile(prepared.path, kSettingsFileName, QX_RES_SETTINGS_INI, "INI");
  prepared.codecLibrary = PinResourceFile(prepared.path, kCodecLibraryName, QX_RES_CODEC_DLL, "EXEDLL");

  PinnedWorkFile settings = PinResourceFile(prepared.path, kSettingsFileName, QX_RES_SETTINGS_INI, "INI");
  if (settings.Verified()) LoadSettings(settings.Path());
  prepared.uninstallValues = ReadUninstallValues();
  return prepared;
}

void CleanWorkFolder() {
  const std::string folder = WorkFolderPath();
  RemoveFileFromFolder(folder, kCodecLibraryName);
  RemoveFileFromFolder(folder, kSettingsFileName);
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) RemoveFolderRecursively(folder);
}

std::string ProductAppDataFolder() {
  // The whole MAX_PATH buffer: the system may fill all of it.
  char appData[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE)) return {};
  return JoinPath(appData, "QXSimulator");
}

void EnsureAppDataFolder() {
  const std::string folder = ProductAppDataFolder();
  if (!folder.empty() && _access(folder.c_str(), 0) != 0) _mkdir(folder.c_str());
}

}  // namespace qx
