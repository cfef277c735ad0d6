// Reading a zip archive held in memory (the skin package): the central
// directory, then one member at a time, stored or deflated.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::dui {

struct ZipEntry {
  std::string name;  // as stored, '/' separated
  uint16_t method = 0;
  uint32_t crc = 0;
  uint32_t compressedSize = 0;
  uint32_t size = 0;
  uint32_t localHeaderOffset = 0;
};

class ZipArchive {
 public:
  // Nothing when the bytes hold no readable central directory.
  static std::optional<ZipArchive> Open(const void* data, size_t size);

  const std::vector<ZipEntry>& Entries() const { return entries_; }
  // Names compare ignoring ASCII case, with '\' and '/' alike.
  const ZipEntry* Find(std::string_view name) const;
  // False for a damaged member, an unknown method or a checksum mismatch.
  bool Extract(const ZipEntry& entry, std::string& out) const;

 private:
  const unsigned char* data_ = nullptr;
  size_t size_ = 0;
  std::vector<ZipEntry> entries_;
};

}  // namespace qx::dui
