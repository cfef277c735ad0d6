// The shell's special folders as the system steps look them up.
#pragma once

#include <string>

namespace qx {

// Through the folder's item list (SHGetSpecialFolderLocation); empty on failure.
std::string SpecialFolderByLocation(int csidl);
// Through SHGetSpecialFolderPathA, without creating the folder; empty on failure.
std::string SpecialFolderPath(int csidl);

}  // namespace qx
