// Once restricted, a DLL lying in the current folder (where a downloaded
// installer finds its neighbours) is no longer loaded by its bare name.
// A program of its own: the restriction holds for the rest of the process.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/dll_search.h"
#include "temp_folder.h"
#include "win/scoped.h"

namespace qx {
namespace {

TEST(DllSearch, PlantedDllIsFoundOnlyBeforeTheRestriction) {
  test::TempFolder folder("planted");
  ASSERT_TRUE(::SetCurrentDirectoryA(folder.Path().c_str()));
  ASSERT_TRUE(::CopyFileA(QX_PLANTED_DLL, (folder / "qxplanted1.dll").c_str(), FALSE));
  ASSERT_TRUE(::CopyFileA(QX_PLANTED_DLL, (folder / "qxplanted2.dll").c_str(), FALSE));

  win::ScopedLibrary before(::LoadLibraryA("qxplanted1.dll"));
  EXPECT_TRUE(before) << "the unrestricted search takes the current folder";

  ASSERT_TRUE(RestrictDllSearchToSystemFolder());
  ::SetLastError(0);
  win::ScopedLibrary after(::LoadLibraryA("qxplanted2.dll"));
  EXPECT_FALSE(after);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  // System DLLs still load.
  EXPECT_TRUE(win::ScopedLibrary(::LoadLibraryA("riched20.dll")));
  ASSERT_TRUE(::SetCurrentDirectoryA("C:\\"));
}

}  // namespace
}  // namespace qx
