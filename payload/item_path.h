// Which archive item paths may be joined to the install folder. Pure logic,
// shared by the extract callback and the packer.
#pragma once

#include <string_view>

namespace qx::payload {

// False for a path that would land outside the destination folder: empty,
// a leading separator, a drive letter ("C:"), or a ".." component. Both
// separators count.
template <typename Char>
bool IsSafeItemPath(std::basic_string_view<Char> path) {
  auto separator = [](Char c) { return c == Char('\\') || c == Char('/'); };
  if (path.empty() || separator(path[0])) return false;
  if (path.size() >= 2 && path[1] == Char(':')) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !separator(path[end])) ++end;
    const auto part = path.substr(start, end - start);
    if (part.size() == 2 && part[0] == Char('.') && part[1] == Char('.')) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace qx::payload
