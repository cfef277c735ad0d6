#include "dui/zip_archive.h"

#include <zlib.h>

#include <algorithm>

namespace qx::dui {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr uint32_t kMaxMemberSize = 64u << 20;  // a skin member is never near this

uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

char Fold(char c) {
  if (c == '\\') return '/';
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

}  // namespace

std::optional<ZipArchive> ZipArchive::Open(const void* data, size_t size) {
  if (!data || size < kEndSize) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(data);
  // The end record sits in the last 22 + 65535 (comment) bytes.
  size_t lowest = size > kEndSize + 0xFFFF ? size - kEndSize - 0xFFFF : 0;
  size_t end = size - kEndSize;
  bool found = false;
  for (size_t at = end + 1; at-- > lowest;) {
    if (Read32(bytes + at) == kEndSignature && at + kEndSize + Read16(bytes + at + 20) == size) {
      end = at;
      found = true;
      break;
    }
  }
  if (!found) return std::nullopt;
  uint16_t count = Read16(bytes + end + 10);
  uint32_t dirSize = Read32(bytes + end + 12);
  uint32_t dirOffset = Read32(bytes + end + 16);
  if (dirOffset > end || dirSize > end - dirOffset) return std::nullopt;

  ZipArchive archive;
  archive.data_ = bytes;
  archive.size_ = size;
  size_t at = dirOffset;
  size_t dirEnd = static_cast<size_t>(dirOffset) + dirSize;
  for (uint16_t i = 0; i < count; ++i) {
    if (dirEnd - at < kCentralSize || Read32(bytes + at) != kCentralSignature) return std::nullopt;
    const unsigned char* h = bytes + at;
    size_t nameLength = Read16(h + 28), extraLength = Read16(h + 30), commentLength = Read16(h + 32);
    if (dirEnd - at - kCentralSize < nameLength + extraLength + commentLength) return std::nullopt;
    ZipEntry entry;
    entry.method = Read16(h + 10);
    entry.crc = Read32(h + 16);
    entry.compressedSize = Read32(h + 20);
    entry.size = Read32(h + 24);
    entry.localHeaderOffset = Read32(h + 42);
    entry.name.assign(reinterpret_cast<const char*>(h + kCentralSize), nameLength);
    archive.entries_.push_back(std::move(entry));
    at += kCentralSize + nameLength + extraLength + commentLength;
  }
  return archive;
}

const ZipEntry* ZipArchive::Find(std::string_view name) const {
  for (const auto& entry : entries_) {
    if (SameName(entry.name, name)) return &entry;
  }
  return nullptr;
}

bool ZipArchive::Extract(const ZipEntry& entry, std::string& out) const {
  out.clear();
  size_t at = entry.localHeaderOffset;
  if (at > size_ || size_ - at < kLocalSize || Read32(data_ + at) != kLocalSignature) return false;
  size_t skip = kLocalSize + Read16(data_ + at + 26) + Read16(data_ + at + 28);
  if (size_ - at < skip || size_ - at - skip < entry.compressedSize) return false;
  if (entry.size > kMaxMemberSize) return false;
  const unsigned char* packed = data_ + at + skip;
  if (entry.method == 0) {
    if (entry.compressedSize != entry.size) return false;
    out.assign(reinterpret_cast<const char*>(packed), entry.size);
  } else if (entry.method == 8) {
    out.resize(entry.size);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(packed);
    stream.avail_in = entry.compressedSize;
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = entry.size;
    int rc = inflate(&stream, Z_FINISH);
    bool complete = rc == Z_STREAM_END && stream.total_out == entry.size;
    inflateEnd(&stream);
    if (!complete) {
      out.clear();
      return false;
    }
  } else {
    return false;
  }
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size()));
  if (crc != entry.crc) {
    out.clear();
    return false;
  }
  return true;
}

}  // namespace qx::dui
