#include "win/whole_file.h"

#include <cstdint>

#include "win/scoped.h"

namespace qx::win {

std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit) {
  ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file.Valid() || !::GetFileSizeEx(file.Get(), &size) || static_cast<uint64_t>(size.QuadPart) > limit)
    return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
    return std::nullopt;
  return bytes;
}

}  // namespace qx::win
