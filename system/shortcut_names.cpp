#include "system/shortcut_names.h"

#include "core/path.h"

namespace qx {

std::string UninstallShortcutName(std::string_view displayName) {
  return std::string("\xD0\xB6\xD4\xD8") + std::string(displayName);
}

std::wstring AutoStartShortcutName(std::wstring_view programFile) {
  if (programFile.size() < 4) return std::wstring(programFile);
  return std::wstring(programFile.substr(0, programFile.size() - 4));
}

std::string PinCommandLine(std::string_view installFolder, std::string_view mainProgram) {
  const auto quoted = [](const std::string& path) { return "\"" + path + "\""; };
  return quoted(JoinPath(installFolder, "syspin")) + " " + quoted(JoinPath(installFolder, mainProgram)) + " c:5386";
}

}  // namespace qx
