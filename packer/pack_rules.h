// What the packer refuses before it writes anything. Pure logic.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::pack {

// The marker text: the value of the first "flag" entry of section
// OFFSET_FLAG (exact, case-sensitive), as the installer reads it.
std::string MarkerFromSettings(std::string_view settings);

// Why Windows cannot hold this path component as a file or folder name
// (reserved characters, a trailing dot or space, a device name), or empty.
std::string WindowsNameProblem(std::string_view component);

// One line per refused item path: unsafe paths, names that are not UTF-8 or
// that Windows cannot hold, and paths that differ from an earlier one only
// in letter case, in any script (on Windows the later would replace the
// earlier). Paths use '/' between components.
std::vector<std::string> PayloadPathProblems(const std::vector<std::string>& paths);

// Image, filler, record, archive, padding.
uint64_t InstallerSize(uint64_t imageSize, uint64_t archiveSize);

}  // namespace qx::pack
