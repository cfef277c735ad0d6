#include "core/path.h"

#include <gtest/gtest.h>

#include "core/protected_folders.h"

namespace qx {
namespace {

TEST(PathJoin, ConcatenatesWithOneSeparator) {
  EXPECT_EQ(JoinPath("C:\\qxextract", "info.ini"), "C:\\qxextract\\info.ini");
  EXPECT_EQ(WithTrailingSeparator("C:\\a"), "C:\\a\\");
  EXPECT_EQ(WithTrailingSeparator("C:\\a\\"), "C:\\a\\");
  EXPECT_EQ(WithoutTrailingSeparator("D:\\"), "D:");
  EXPECT_EQ(ParentFolder("C:\\Program Files\\QXSimulator\\QXSimulator.exe"), "C:\\Program Files\\QXSimulator");
  EXPECT_EQ(ParentFolder("QXSimulator.exe"), "");
}

TEST(PathKinds, AbsoluteAndRootPaths) {
  EXPECT_TRUE(IsAbsolutePath("C:\\x"));
  EXPECT_TRUE(IsAbsolutePath("d:/x"));
  EXPECT_TRUE(IsAbsolutePath("\\\\server\\share\\x"));
  for (const char* p : {"", "x", "C:x", "\\x", "..\\x", "C:"}) EXPECT_FALSE(IsAbsolutePath(p)) << p;
  for (const char* p : {"C:", "C:\\", "c:/", "\\\\srv\\share", "\\\\srv\\share\\"}) EXPECT_TRUE(IsDriveRoot(p)) << p;
  for (const char* p : {"C:\\x", "\\\\srv\\share\\x", "x"}) EXPECT_FALSE(IsDriveRoot(p)) << p;
}

TEST(ProtectedFolders, TargetThatIsOrContainsAProtectedFolderIsRefused) {
  const std::vector<std::string> system = {"C:\\windows", "C:\\Program Files", "C:\\users\\root\\Desktop"};
  EXPECT_TRUE(WouldRemoveProtectedFolder("C:\\Windows", system));
  EXPECT_TRUE(WouldRemoveProtectedFolder("c:/WINDOWS/", system));
  EXPECT_TRUE(WouldRemoveProtectedFolder("C:\\users", system));  // holds the desktop
  EXPECT_FALSE(WouldRemoveProtectedFolder("C:\\Program Files\\QXSimulator", system));
  EXPECT_FALSE(WouldRemoveProtectedFolder("C:\\Windows2", system));
  EXPECT_FALSE(WouldRemoveProtectedFolder("C:\\Program", system));
  EXPECT_FALSE(WouldRemoveProtectedFolder("D:\\Games\\QXSimulator", {"", "C:\\Windows"}));
}

}  // namespace
}  // namespace qx
