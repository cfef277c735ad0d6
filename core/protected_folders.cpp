#include "core/protected_folders.h"

#include "core/path.h"
#include "core/text.h"

namespace qx {
namespace {

std::string Canonical(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  while (out.size() > 1 && out.back() == '\\') out.pop_back();
  return out;
}

}  // namespace

bool IsSameOrAncestorFolder(std::string_view folder, std::string_view path) {
  const std::string f = Canonical(folder);
  const std::string p = Canonical(path);
  if (f.empty() || p.size() < f.size()) return false;
  if (!EqualsIgnoreAsciiCase(std::string_view(p).substr(0, f.size()), f)) return false;
  return p.size() == f.size() || p[f.size()] == '\\' || f.back() == '\\';
}

bool WouldRemoveProtectedFolder(std::string_view target, const std::vector<std::string>& protectedFolders) {
  for (const std::string& folder : protectedFolders)
    if (!folder.empty() && IsSameOrAncestorFolder(target, folder)) return true;
  return false;
}

}  // namespace qx
