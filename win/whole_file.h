// Reading a small file whole.
#pragma once

#include <optional>
#include <string>

namespace qx::win {

// The file's bytes; nothing when it cannot be opened or read, or is larger
// than `limit` bytes.
std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit);

}  // namespace qx::win
