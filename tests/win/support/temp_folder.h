// Test helpers for the Windows tests: a fresh folder under C:\qxtest that
// disappears with the test, and small file helpers. Tests run in throwaway
// Wine prefixes, so nothing here touches a real system.
#pragma once

#include <string>

namespace qx::test {

class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);  // "" when missing
bool PathExists(const std::string& path);
void MakeFolder(const std::string& path);  // with all missing parents

}  // namespace qx::test
