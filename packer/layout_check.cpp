#include "packer/layout_check.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "payload/layout.h"

namespace qx::pack {
namespace {

constexpr unsigned char kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
constexpr size_t kStartHeaderSize = 32;

uint32_t Le32(std::string_view s, size_t pos) {
  if (pos + 4 > s.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data() + pos);
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(std::string_view s, size_t pos) {
  if (pos + 2 > s.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data() + pos);
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint64_t Le64(std::string_view s, size_t pos) { return Le32(s, pos) | (static_cast<uint64_t>(Le32(s, pos + 4)) << 32); }

}  // namespace

uint32_t Crc32(const unsigned char* data, size_t size) {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

bool IsSignatureHeader(std::string_view file, size_t pos) {
  if (pos > file.size() || file.size() - pos < kStartHeaderSize) return false;
  if (std::memcmp(file.data() + pos, kSignature, sizeof kSignature) != 0) return false;
  const auto* start = reinterpret_cast<const unsigned char*>(file.data() + pos + 12);
  return Crc32(start, 20) == Le32(file, pos + 8);
}

uint64_t ArchiveSize(std::string_view file, size_t pos) {
  return kStartHeaderSize + Le64(file, pos + 12) + Le64(file, pos + 20);
}

PeInfo ReadPe(std::string_view file) {
  PeInfo info;
  if (file.size() < 0x40 || file.substr(0, 2) != "MZ") return info;
  const uint32_t pe = Le32(file, 0x3C);
  if (pe > file.size() || file.size() - pe < 24 || file.substr(pe, 4) != std::string_view("PE\0\0", 4)) return info;
  info.machine = Le16(file, pe + 4);
  const uint16_t sections = Le16(file, pe + 6);
  const uint16_t optionalSize = Le16(file, pe + 20);
  const size_t optional = pe + 24;
  const uint16_t magic = Le16(file, optional);
  const size_t dataDirs = optional + (magic == 0x20B ? 112 : 96);
  if (dataDirs + 5 * 8 <= optional + optionalSize) {
    info.certOffset = Le32(file, dataDirs + 4 * 8);
    info.certSize = Le32(file, dataDirs + 4 * 8 + 4);
  }
  const size_t table = optional + optionalSize;
  if (table + sections * 40ull > file.size()) return info;
  uint64_t end = table + sections * 40ull;
  for (uint16_t i = 0; i < sections; ++i) {
    const size_t s = table + i * 40ull;
    const uint64_t rawEnd = static_cast<uint64_t>(Le32(file, s + 20)) + Le32(file, s + 16);
    if (Le32(file, s + 16) != 0 && rawEnd > end) end = rawEnd;
  }
  // An unstripped image carries a COFF symbol and string table behind them.
  const uint32_t symbols = Le32(file, pe + 12), symbolCount = Le32(file, pe + 16);
  if (symbols != 0) {
    const uint64_t strings = symbols + symbolCount * 18ull;
    if (strings + 4 <= file.size()) end = std::max<uint64_t>(end, strings + Le32(file, static_cast<size_t>(strings)));
  }
  if (end > file.size()) return info;
  info.imageSize = end;
  info.valid = true;
  return info;
}

LayoutReport CheckLayout(std::string_view file, ImageMachines machines) {
  using namespace qx::payload;
  LayoutReport r;
  auto fail = [&r](std::string what) { r.problems.push_back(std::move(what)); };
  r.pe = ReadPe(file);
  if (!r.pe.valid) {
    fail("not a PE executable");
    return r;
  }
  // The setup program is 32-bit: a kit of another build would link an image
  // that 32-bit Windows cannot start.
  const bool x64ForTests = machines == ImageMachines::X86OrX64ForTests && r.pe.machine == 0x8664;
  if (r.pe.machine != 0x14C && !x64ForTests) {
    char text[80];
    std::snprintf(text, sizeof text, "image is not 32-bit x86%s (machine 0x%04X)",
                  machines == ImageMachines::X86Only ? "" : " or x86-64", r.pe.machine);
    fail(text);
  }
  if (file.size() >= (1ull << 31)) fail("file of 2 GiB or more");
  r.recordOffset = RecordOffsetFor(static_cast<int64_t>(r.pe.imageSize));
  const auto recordAt = static_cast<size_t>(r.recordOffset);
  if (recordAt + kRecordSize > file.size()) {
    fail("no marker record at the first whole MiB behind the image");
    return r;
  }
  Field markerField{}, startField{};
  std::memcpy(markerField.data(), file.data() + recordAt, kFieldSize);
  std::memcpy(startField.data(), file.data() + recordAt + kFieldSize, kFieldSize);
  r.marker.assign(markerField.data(), strnlen(markerField.data(), kFieldSize));
  if (r.marker.empty() || r.marker.size() > kMaxMarkerLength) fail("marker field holds no marker text");
  for (size_t i = r.marker.size(); i < kFieldSize; ++i)
    if (markerField[i] != 0) fail("marker field not zero-filled");
  size_t digits = 0;
  while (digits < kFieldSize && startField[digits] >= '0' && startField[digits] <= '9') ++digits;
  if (digits == 0) fail("search-start field holds no digits");
  for (size_t i = digits; i < kFieldSize; ++i)
    if (startField[i] != 0) {
      fail("search-start field not digits then zeros");
      break;
    }
  r.searchStart = ParseSearchStart(startField);
  // The locator only finds a record with a whole MiB of file behind it;
  // without one the reader searches from the first byte of the file.
  r.recordFound = static_cast<int64_t>(file.size()) / kMiB > r.recordOffset / kMiB;
  for (int64_t k = 1; k * kMiB < r.recordOffset; ++k) {
    Field f{};
    std::memcpy(f.data(), file.data() + k * kMiB, kFieldSize);
    if (!r.marker.empty() && FieldMatches(r.marker, f)) fail("marker text at an earlier whole-MiB position");
  }

  r.archiveOffset = r.recordOffset + static_cast<int64_t>(kRecordSize);
  if (!IsSignatureHeader(file, static_cast<size_t>(r.archiveOffset))) {
    fail("no 7z signature header behind the marker record");
    return r;
  }
  if (r.searchStart > r.archiveOffset) fail("search start behind the archive");
  const int64_t effectiveStart = r.recordFound ? r.searchStart : 0;
  if (r.archiveOffset - effectiveStart > kSignatureSearchLimit) fail("archive more than 8 MiB behind the search start");
  // The reader takes the first valid header from the search start on.
  const int64_t scanFrom =
      std::min<int64_t>(static_cast<int64_t>(r.pe.imageSize), std::max<int64_t>(0, effectiveStart));
  for (int64_t pos = scanFrom; pos < r.archiveOffset; ++pos) {
    if (static_cast<unsigned char>(file[pos]) == '7' && IsSignatureHeader(file, static_cast<size_t>(pos))) {
      fail("a valid 7z signature header in front of the archive, at " + std::to_string(pos));
      break;
    }
  }
  r.archiveSize = ArchiveSize(file, static_cast<size_t>(r.archiveOffset));
  const uint64_t archiveEnd = r.archiveOffset + r.archiveSize;
  if (archiveEnd > file.size()) {
    fail("archive runs past the end of the file");
    return r;
  }
  const uint64_t padded = (archiveEnd + 7) / 8 * 8;
  if (padded > file.size()) fail("padding to a multiple of 8 missing");
  for (uint64_t i = archiveEnd; i < padded && i < file.size(); ++i)
    if (file[i] != 0) {
      fail("padding not zero");
      break;
    }
  if (r.pe.certOffset == 0) {
    if (file.size() != padded) fail("bytes behind the padding of an unsigned file");
  } else {
    if (r.pe.certOffset != padded) fail("certificate table does not start behind the padding");
    if (static_cast<uint64_t>(r.pe.certOffset) + r.pe.certSize != file.size())
      fail("certificate table does not end the file");
  }
  return r;
}

}  // namespace qx::pack
