#include "sample/programs/setup_rules.h"

#include <gtest/gtest.h>

namespace qx::sample {
namespace {

using Arguments = std::vector<std::wstring>;

TEST(SetupArguments, OnlyTheSilentLineInItsOrder) {
  const Arguments silent = {L"/s",
                            L"/pass",
                            L"/v/qn",
                            L"REBOOT=Suppress",
                            L"EULAS_AGREED=1",
                            L"INSTALLDIR=C:\\Program Files (x86)\\VMware\\VMware Workstation",
                            L"ADDLOCAL=ALL"};
  EXPECT_EQ(SilentSetupArguments(), silent);
  EXPECT_EQ(CheckSetupArguments(silent), "");
  EXPECT_EQ(SetupInstallFolder(), L"C:\\Program Files (x86)\\VMware\\VMware Workstation");

  std::vector<Arguments> refused(7, silent);
  refused[0].clear();
  refused[1].pop_back();
  refused[2].push_back(L"/norestart");
  std::swap(refused[3][0], refused[3][1]);
  refused[4][3] = L"reboot=suppress";
  // The quotes of the batch line left in the value: a different split.
  refused[5][5] = L"INSTALLDIR=\"C:\\Program Files (x86)\\VMware\\VMware Workstation\"";
  refused[6][5] = L"INSTALLDIR=C:\\Program";
  for (size_t i = 0; i < refused.size(); ++i) EXPECT_NE(CheckSetupArguments(refused[i]), "") << i;
}

}  // namespace
}  // namespace qx::sample
