#include "sample/programs/report_rules.h"

#include <cstdio>

namespace qx::sample {
namespace {

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

std::wstring BuildFromArgument(std::wstring_view argument) {
  constexpr std::wstring_view kSuffix = L"_0";
  if (argument.size() <= kSuffix.size() || argument.substr(argument.size() - kSuffix.size()) != kSuffix) return L"";
  const std::wstring_view digits = argument.substr(0, argument.size() - kSuffix.size());
  for (wchar_t c : digits)
    if (!IsAsciiDigit(c)) return L"";
  return std::wstring(digits);
}

std::wstring BuildOfVersion(std::wstring_view version) {
  const size_t dot = version.rfind(L'.');
  return std::wstring(dot == version.npos ? version : version.substr(dot + 1));
}

std::string CheckSubmitRequest(const SubmitRequest& request) {
  if (request.arguments.size() != 1) return "expected one argument: <build>_0";
  const std::wstring build = BuildFromArgument(request.arguments[0]);
  if (build.empty()) return "the argument is not <digits>_0";
  if (!request.settingsFound) return "submitconfig.ini is missing beside the program";
  if (request.installPath.empty()) return "submitconfig.ini has no installPath in [CONFIG]";
  if (request.version.empty()) return "submitconfig.ini has no Version in [CONFIG]";
  if (build != BuildOfVersion(request.version)) return "the argument's build differs from the settings' Version";
  return "";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string InstallReportJson(const InstallReport& report) {
  return "{\"version\":" + JsonString(report.version) + ",\"build\":" + JsonString(report.build) +
         ",\"installPath\":" + JsonString(report.installPath) + ",\"windows\":" + JsonString(report.windows) +
         ",\"time\":" + JsonString(report.time) + "}\n";
}

std::string UtcTimeText(int year, int month, int day, int hour, int minute, int second) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", year, month, day, hour, minute, second);
  return text;
}

}  // namespace qx::sample
