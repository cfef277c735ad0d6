#include "sample/programs/setup_rules.h"

namespace qx::sample {
namespace {

constexpr std::wstring_view kInstallDirKey = L"INSTALLDIR=";

}  // namespace

const std::vector<std::wstring>& SilentSetupArguments() {
  static const std::vector<std::wstring> arguments = {
      L"/s",
      L"/pass",
      L"/v/qn",
      L"REBOOT=Suppress",
      L"EULAS_AGREED=1",
      std::wstring(kInstallDirKey) + L"C:\\Program Files (x86)\\VMware\\VMware Workstation",
      L"ADDLOCAL=ALL",
  };
  return arguments;
}

std::string CheckSetupArguments(const std::vector<std::wstring>& arguments) {
  const std::vector<std::wstring>& expected = SilentSetupArguments();
  if (arguments.size() != expected.size())
    return "expected the " + std::to_string(expected.size()) + " arguments of the silent setup, got " +
           std::to_string(arguments.size());
  for (size_t i = 0; i < expected.size(); ++i)
    if (arguments[i] != expected[i]) return "argument " + std::to_string(i + 1) + " is not the silent setup's";
  return "";
}

std::wstring SetupInstallFolder() {
  for (const std::wstring& argument : SilentSetupArguments())
    if (argument.starts_with(kInstallDirKey)) return argument.substr(kInstallDirKey.size());
  return L"";
}

}  // namespace qx::sample
