#include "sample/programs/pin_rules.h"

#include "core/path.h"

namespace qx::sample {

std::string CheckPinArguments(const std::vector<std::wstring>& arguments) {
  if (arguments.size() != 2) return "expected two arguments: the file to pin and c:5386";
  if (!IsAbsolutePath(arguments[0])) return "the file to pin is not an absolute path";
  if (PinLinkName(arguments[0]).empty()) return "the file to pin has no file name";
  if (arguments[1] != kPinCode) return "the second argument is not c:5386";
  return "";
}

std::wstring PinLinkName(std::wstring_view target) {
  const size_t slash = target.find_last_of(L"\\/");
  std::wstring_view name = slash == target.npos ? target : target.substr(slash + 1);
  // A leading dot starts the name, not an extension.
  const size_t dot = name.rfind(L'.');
  if (dot != name.npos && dot > 0) name = name.substr(0, dot);
  if (name.find_first_not_of(L'.') == name.npos) return L"";
  return std::wstring(name) + L".lnk";
}

}  // namespace qx::sample
