// Which folders a recursive removal must never touch. Pure logic over
// paths; the Windows side supplies the system's well-known folders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

// True when `folder` is `path` itself or one of its ancestors
// (case-insensitive, "/" equal to "\", one trailing "\" ignored).
bool IsSameOrAncestorFolder(std::string_view folder, std::string_view path);

// True when removing `target` would remove one of `protectedFolders` (the
// target is one of them or contains one).
bool WouldRemoveProtectedFolder(std::string_view target, const std::vector<std::string>& protectedFolders);

}  // namespace qx
