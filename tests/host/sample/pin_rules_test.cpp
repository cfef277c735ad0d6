#include "sample/programs/pin_rules.h"

#include <gtest/gtest.h>

namespace qx::sample {
namespace {

using Arguments = std::vector<std::wstring>;

TEST(PinArguments, AcceptOnlyAnAbsoluteFileAndTheCode) {
  EXPECT_EQ(CheckPinArguments({L"C:\\Program Files\\QXSimulator\\QXSimulator.exe", L"c:5386"}), "");
  EXPECT_EQ(CheckPinArguments({L"\\\\server\\share\\\u5C9A\u821F.exe", L"c:5386"}), "");
  const Arguments refused[] = {
      {},
      {L"C:\\QXSimulator\\QXSimulator.exe"},
      {L"C:\\QXSimulator\\QXSimulator.exe", L"c:5386", L"extra"},
      {L"QXSimulator.exe", L"c:5386"},
      {L"C:QXSimulator.exe", L"c:5386"},
      {L"\\QXSimulator\\QXSimulator.exe", L"c:5386"},
      {L"C:\\QXSimulator\\", L"c:5386"},
      {L"C:\\QXSimulator\\QXSimulator.exe", L"C:5386"},
      {L"C:\\QXSimulator\\QXSimulator.exe", L"c:5386 "},
      {L"C:\\QXSimulator\\QXSimulator.exe", L""},
  };
  for (const Arguments& arguments : refused) {
    const std::string reason = CheckPinArguments(arguments);
    EXPECT_NE(reason, "") << arguments.size() << " arguments";
    EXPECT_EQ(reason.find('\n'), std::string::npos);
  }
}

TEST(PinLinkName, IsTheFileNameWithoutItsExtension) {
  EXPECT_EQ(PinLinkName(L"C:\\Program Files\\QXSimulator\\QXSimulator.exe"), L"QXSimulator.lnk");
  EXPECT_EQ(PinLinkName(L"C:\\a.b\\\u5C9A\u821F.tar.exe"), L"\u5C9A\u821F.tar.lnk");
  EXPECT_EQ(PinLinkName(L"C:\\a.b\\tool"), L"tool.lnk");
  EXPECT_EQ(PinLinkName(L"C:/a/.profile"), L".profile.lnk");
  EXPECT_EQ(PinLinkName(L"C:\\a\\"), L"");
  EXPECT_EQ(PinLinkName(L"C:\\a\\.."), L"");
}

}  // namespace
}  // namespace qx::sample
