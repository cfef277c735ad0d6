// The install-report program's checks and the report it writes.
// Pure logic: no Windows headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx::sample {

// The digits of "<digits>_0"; "" when `argument` has another form.
std::wstring BuildFromArgument(std::wstring_view argument);

// The part of `version` after its last "." (all of it when there is none).
std::wstring BuildOfVersion(std::wstring_view version);

// What the program found: its arguments (without the program) and the
// settings file's values ("" when missing).
struct SubmitRequest {
  std::vector<std::wstring> arguments;
  bool settingsFound = false;
  std::wstring installPath;
  std::wstring version;
};
// "" when the request may be reported; else a one-line reason.
std::string CheckSubmitRequest(const SubmitRequest& request);

// `text` (UTF-8) as a JSON string, quotes included.
std::string JsonString(std::string_view text);

// The report's fields, UTF-8.
struct InstallReport {
  std::string version;
  std::string build;
  std::string installPath;
  std::string windows;  // major.minor.build
  std::string time;     // UtcTimeText
};
// One JSON object on one line, "\n" ended.
std::string InstallReportJson(const InstallReport& report);

// "2026-12-10T13:05:00Z".
std::string UtcTimeText(int year, int month, int day, int hour, int minute, int second);

}  // namespace qx::sample
