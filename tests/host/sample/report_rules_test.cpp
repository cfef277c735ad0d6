#include "sample/programs/report_rules.h"

#include <gtest/gtest.h>

namespace qx::sample {
namespace {

SubmitRequest GoodRequest() {
  SubmitRequest request;
  request.arguments = {L"1760_0"};
  request.settingsFound = true;
  request.installPath = L"C:\\Program Files\\\u5C9A\u821F";
  request.version = L"0.2.0.1760";
  return request;
}

TEST(SubmitRequest, BuildArgumentMustMatchTheVersion) {
  EXPECT_EQ(CheckSubmitRequest(GoodRequest()), "");
  EXPECT_EQ(BuildFromArgument(L"1760_0"), L"1760");
  for (const wchar_t* bad :
       {L"", L"_0", L"1760", L"1760_1", L"1760_00", L"17a0_0", L" 1760_0", L"-1_0", L"1760_0 ", L"\uFF11760_0"})
    EXPECT_EQ(BuildFromArgument(bad), L"") << bad;
  EXPECT_EQ(BuildOfVersion(L"0.2.0.1760"), L"1760");
  EXPECT_EQ(BuildOfVersion(L"1760"), L"1760");
  EXPECT_EQ(BuildOfVersion(L"0.2."), L"");

  SubmitRequest request = GoodRequest();
  request.version = L"1760";
  EXPECT_EQ(CheckSubmitRequest(request), "");
  request.version = L"0.2.0.1761";
  EXPECT_NE(CheckSubmitRequest(request), "");
  request.version = L"0.2.0.01760";
  EXPECT_NE(CheckSubmitRequest(request), "");
}

TEST(SubmitRequest, EachMissingPieceIsRefused) {
  std::vector<SubmitRequest> refused(7, GoodRequest());
  refused[0].arguments = {};
  refused[1].arguments = {L"1760_0", L"1760_0"};
  refused[2].arguments = {L"\"1760_0\""};
  refused[3].settingsFound = false;
  refused[4].installPath = L"";
  refused[5].version = L"";
  refused[6].version = L"0.2.0.";
  for (size_t i = 0; i < refused.size(); ++i) EXPECT_NE(CheckSubmitRequest(refused[i]), "") << i;
}

TEST(ReportJson, EscapesWhatJsonCannotHoldRaw) {
  EXPECT_EQ(JsonString("C:\\Program Files\\\"x\""), "\"C:\\\\Program Files\\\\\\\"x\\\"\"");
  EXPECT_EQ(JsonString("a\nb\r\tc\b\f"), "\"a\\nb\\r\\tc\\b\\f\"");
  EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\x7f\"");
  EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
  // UTF-8 stays as it is; '/' needs no escape.
  EXPECT_EQ(JsonString("\xE5\xB2\x9A\xE8\x88\x9F/x"), "\"\xE5\xB2\x9A\xE8\x88\x9F/x\"");

  InstallReport report;
  report.version = "0.2.0.1760";
  report.build = "1760";
  report.installPath = "D:\\\xE5\xB2\x9A \"q\"";
  report.windows = "10.0.19045";
  report.time = UtcTimeText(2026, 1, 2, 3, 4, 5);
  EXPECT_EQ(InstallReportJson(report),
            "{\"version\":\"0.2.0.1760\",\"build\":\"1760\",\"installPath\":\"D:\\\\\xE5\xB2\x9A \\\"q\\\"\","
            "\"windows\":\"10.0.19045\",\"time\":\"2026-01-02T03:04:05Z\"}\n");
}

}  // namespace
}  // namespace qx::sample
