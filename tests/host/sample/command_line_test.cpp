#include "sample/programs/command_line.h"

#include <gtest/gtest.h>

namespace qx::sample {
namespace {

TEST(ArgumentText, SkipsTheProgramTokenHoweverItIsQuoted) {
  const std::wstring_view module = L"C:\\Program Files\\QXSimulator\\VMware14.exe";
  EXPECT_EQ(ArgumentText(L"\"C:\\Program Files\\QXSimulator\\VMware14.exe\" /s /pass", module), L" /s /pass");
  // The batch form: quotes around each component with a blank.
  EXPECT_EQ(ArgumentText(L"C:\\\"Program Files\"\\QXSimulator\\VMware14.exe /s INSTALLDIR=\"C:\\a b\"", module),
            L" /s INSTALLDIR=\"C:\\a b\"");
  EXPECT_EQ(ArgumentText(L"VMware14.exe\t/s", module), L"\t/s");
  EXPECT_EQ(ArgumentText(L"\"C:\\a b\\x.exe\"", module), L"");
  EXPECT_EQ(ArgumentText(L"", module), L"");
  // An unclosed quote runs to the end, as the command processor reads it.
  EXPECT_EQ(ArgumentText(L"\"C:\\a b\\x.exe /s", module), L"");
}

TEST(ArgumentText, OwnPathWithBlanksUnquotedIsOneToken) {
  // A starter that did not quote the program's path.
  const std::wstring_view module = L"C:\\Users\\Li Lei\\AppData\\Roaming\\QXSimulator\\HttpInstallSubmit.exe";
  EXPECT_EQ(ArgumentText(L"C:\\Users\\Li Lei\\AppData\\Roaming\\QXSimulator\\HttpInstallSubmit.exe \"1760_0\"", module),
            L" \"1760_0\"");
  EXPECT_EQ(ArgumentText(L"c:\\users\\li lei\\appdata\\roaming\\qxsimulator\\httpinstallsubmit.exe 1", module), L" 1");
  // Only the whole path, followed by a blank or the end, counts as the program.
  EXPECT_EQ(ArgumentText(L"C:\\Users\\Li Lei\\AppData\\Roaming\\QXSimulator\\HttpInstallSubmit.exe2 x", module),
            L" Lei\\AppData\\Roaming\\QXSimulator\\HttpInstallSubmit.exe2 x");
}

}  // namespace
}  // namespace qx::sample
