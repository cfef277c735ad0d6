#include "install/install_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace qx::install {
namespace {

TEST(QuotePathComponents, QuotesOnlyComponentsWithBlanks) {
  EXPECT_EQ(QuotePathComponents("C:\\Program Files\\QXSimulator"), "C:\\\"Program Files\"\\QXSimulator");
  EXPECT_EQ(QuotePathComponents("C:\\Program Files (x86)\\QX Sim"), "C:\\\"Program Files (x86)\"\\\"QX Sim\"");
  EXPECT_EQ(QuotePathComponents("D:\\QXSimulator"), "D:\\QXSimulator");
  // A trailing separator stays exactly one; empty pieces stay empty.
  EXPECT_EQ(QuotePathComponents("C:\\Program Files\\"), "C:\\\"Program Files\"\\");
  EXPECT_EQ(QuotePathComponents("\\\\srv\\a b"), "\\\\srv\\\"a b\"");
  EXPECT_EQ(QuotePathComponents(""), "");
}

TEST(QuotePathComponents, CommandOperatorsCannotEscapeTheBatchLine) {
  // Folder names the dialog allows but the command interpreter would read
  // as a second command or a variable.
  EXPECT_EQ(QuotePathComponents("D:\\Tom&Jerry\\QX"), "D:\\\"Tom&Jerry\"\\QX");
  EXPECT_EQ(QuotePathComponents("D:\\a|b\\c>d"), "D:\\\"a|b\"\\\"c>d\"");
  EXPECT_EQ(QuotePathComponents("D:\\(x86)"), "D:\\\"(x86)\"");
  EXPECT_EQ(QuotePathComponents("D:\\50%off\\%PATH%"), "D:\\50%%off\\%%PATH%%");
  EXPECT_EQ(QuotePathComponents("D:\\a^b"), "D:\\\"a^b\"");
}

TEST(VMwareBatch, TwoCrLfLinesWithTheSilentOptions) {
  EXPECT_EQ(VMwareBatchText("C:\\\"Program Files\"\\QXSimulator"),
            "C:\\\"Program Files\"\\QXSimulator\\VMware14.exe /s /pass /v/qn REBOOT=Suppress EULAS_AGREED=1 "
            "INSTALLDIR=\"C:\\Program Files (x86)\\VMware\\VMware Workstation\" ADDLOCAL=ALL\r\nexit\r\n");
}

TEST(MajorVersion, WholeNumberBeforeTheFirstDot) {
  EXPECT_EQ(MajorVersion("14.1.1.28517"), 14);
  EXPECT_EQ(MajorVersion("12.5.9"), 12);
  EXPECT_EQ(MajorVersion("15.0.0"), 15);
  EXPECT_EQ(MajorVersion("  14"), 14);
  EXPECT_EQ(MajorVersion("14abc.2"), 14);
  EXPECT_EQ(MajorVersion("-3.1"), -3);
  EXPECT_EQ(MajorVersion(""), 0);
  EXPECT_EQ(MajorVersion(".14"), 0);
  EXPECT_EQ(MajorVersion("v14.0"), 0);
  EXPECT_EQ(MajorVersion("99999999999999999999.1"), INT_MAX);
  EXPECT_EQ(MajorVersion("-99999999999999999999"), INT_MIN);
}

TEST(ReportCommand, BuildArgumentAndQuotedProgram) {
  EXPECT_EQ(ReportBuildArgument("0.2.0.1760"), "1760_0");
  EXPECT_EQ(ReportBuildArgument("1760"), "1760_0");
  EXPECT_EQ(ReportBuildArgument(""), "_0");
  EXPECT_EQ(ReportBuildArgument("1.2."), "_0");
  EXPECT_EQ(ReportCommandLine("C:\\Users\\a b\\AppData\\Roaming\\QXSimulator\\HttpInstallSubmit.exe", "0.2.0.1760"),
            "\"C:\\Users\\a b\\AppData\\Roaming\\QXSimulator\\HttpInstallSubmit.exe\" \"1760_0\"");
  // Longer than any fixed buffer: nothing is cut.
  const std::string longProgram = "C:\\" + std::string(400, 'x') + "\\HttpInstallSubmit.exe";
  EXPECT_EQ(ReportCommandLine(longProgram, "1.2").size(), longProgram.size() + 2 + 1 + 5);
}

TEST(PageTexts, FailureBoxPerCode) {
  EXPECT_EQ(ExtractFailureText(-4), L"打开安装压缩包失败!\n安装模拟器失败，程序退出!");
  EXPECT_EQ(ExtractFailureText(-1), L"初始化安装出错，安装加载解压库失败!\n安装模拟器失败，程序退出!");
  EXPECT_EQ(ExtractFailureText(-6), L"安装过程中出错!\n安装模拟器失败，程序退出!");
  EXPECT_EQ(ExtractFailureText(7), L"\n安装模拟器失败，程序退出!");
  EXPECT_EQ(ExtractFailureText(0), L"\n安装模拟器失败，程序退出!");
  EXPECT_EQ(ExtractFailureText(-7), L"\n安装模拟器失败，程序退出!");
  EXPECT_EQ(PercentText(37), L"37%");
}

TEST(PageTexts, FrameSequencesWrap) {
  int loading = 0;
  std::wstring frames;
  for (int i = 0; i < 8; ++i) frames += NextLoadingFrame(loading).substr(11, 1);
  EXPECT_EQ(frames, L"23123123");
  int status = 0;
  EXPECT_EQ(NextVMwareStatus(status), L"正在安装VMware ");
  EXPECT_EQ(NextVMwareStatus(status), L"正在安装VMware.");
  EXPECT_EQ(NextVMwareStatus(status), L"正在安装VMware..");
  EXPECT_EQ(NextVMwareStatus(status), L"正在安装VMware...");
  EXPECT_EQ(NextVMwareStatus(status), L"正在安装VMware ");
}

}  // namespace
}  // namespace qx::install
