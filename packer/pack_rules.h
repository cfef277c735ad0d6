// What the packer refuses before it writes anything. Pure logic.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::pack {

// The value of the first `key` entry of `section` (exact, case-sensitive),
// as the installer reads it; empty when there is none.
std::string SettingsValue(std::string_view settings, std::string_view section, std::string_view key);
// The marker text: OFFSET_FLAG/flag.
std::string MarkerFromSettings(std::string_view settings);

// One line per refused item path: unsafe paths, names that are not UTF-8 or
// that Windows cannot hold (reserved characters, a trailing dot or space, a
// device name), and paths that differ from an earlier one only in letter
// case, in any script (on Windows the later would replace the earlier),
// and the names at the top that the packer writes itself (the install
// record). Paths use '/' between components.
std::vector<std::string> PayloadPathProblems(const std::vector<std::string>& paths);

// Image, filler, record, archive, padding.
uint64_t InstallerSize(uint64_t imageSize, uint64_t archiveSize);

}  // namespace qx::pack
