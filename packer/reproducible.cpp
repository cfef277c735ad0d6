#include "packer/reproducible.h"

#include <algorithm>
#include <charconv>

#include "core/sha256.h"
#include "packer/layout_check.h"
#include "payload/layout.h"
#include "payload/payload_password.h"

namespace qx::pack {
namespace {

uint32_t Le32(std::string_view s, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

void Put32(std::string& s, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(value >> (8 * i));
}

// Offset of "PE\0\0", or 0 when there is none.
size_t PeHeader(std::string_view image) {
  if (image.size() < 0x40 || image.substr(0, 2) != "MZ") return 0;
  const uint32_t pe = Le32(image, 0x3C);
  if (pe < 0x40 || pe > image.size() || image.size() - pe < 24 + 96) return 0;
  return image.substr(pe, 4) == std::string_view("PE\0\0", 4) ? pe : 0;
}

constexpr size_t kTimeStamp = 8;       // from "PE\0\0"
constexpr size_t kChecksum = 24 + 64;  // optional header + 64, both formats
constexpr size_t kSecurityDir32 = 24 + 96 + 4 * 8;
constexpr size_t kSecurityDir64 = 24 + 112 + 4 * 8;

int64_t FirstDifference(std::string_view a, std::string_view b, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i)
    if (i >= a.size() || i >= b.size() || a[i] != b[i]) return static_cast<int64_t>(i);
  return -1;
}

}  // namespace

uint32_t PeChecksum(std::string_view image) {
  const size_t pe = PeHeader(image);
  const size_t field = pe ? pe + kChecksum : SIZE_MAX;
  uint64_t sum = 0;
  for (size_t i = 0; i < image.size(); i += 2) {
    if (i >= field && i < field + 4) continue;
    uint32_t word = static_cast<uint8_t>(image[i]);
    if (i + 1 < image.size()) word |= static_cast<uint32_t>(static_cast<uint8_t>(image[i + 1])) << 8;
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + image.size());
}

bool StampImage(std::string& image, uint32_t timeStamp) {
  const size_t pe = PeHeader(image);
  if (!pe) return false;
  Put32(image, pe + kTimeStamp, timeStamp);
  Put32(image, pe + kChecksum, PeChecksum(image));
  return true;
}

std::optional<uint32_t> ImageTimeStamp(const char* sourceDateEpoch, int64_t newestPayloadSeconds) {
  if (sourceDateEpoch) {
    const std::string_view text = sourceDateEpoch;
    uint64_t value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size()) return std::nullopt;
    return static_cast<uint32_t>(std::min<uint64_t>(value, UINT32_MAX));
  }
  return static_cast<uint32_t>(std::clamp<int64_t>(newestPayloadSeconds, 0, UINT32_MAX));
}

std::array<uint8_t, 16> ArchiveIv(std::string_view description) {
  const Sha256Digest mac = HmacSha256(payload::kPayloadPassword, description);
  std::array<uint8_t, 16> iv;
  std::copy(mac.begin(), mac.begin() + iv.size(), iv.begin());
  return iv;
}

std::vector<PartComparison> CompareInstallers(std::string_view a, std::string_view b) {
  const LayoutReport ra = CheckLayout(a, ImageMachines::X86OrX64ForTests);
  const LayoutReport rb = CheckLayout(b, ImageMachines::X86OrX64ForTests);
  std::vector<PartComparison> parts;
  const auto slice = [](std::string_view s, size_t from, size_t to) {
    from = std::min(from, s.size());
    to = std::min(std::max(to, from), s.size());
    return s.substr(from, to - from);
  };
  const auto compare = [&](const std::string& part, size_t fromA, size_t toA, size_t fromB, size_t toB) {
    PartComparison c{part};
    const std::string_view pa = slice(a, fromA, toA), pb = slice(b, fromB, toB);
    c.same = pa == pb;
    if (!c.same) {
      const int64_t at = FirstDifference(pa, pb, 0, std::max(pa.size(), pb.size()));
      c.firstDifference = static_cast<int64_t>(fromA) + at;
    }
    parts.push_back(c);
  };
  if (ra.recordOffset < 0 || rb.recordOffset < 0 || ra.archiveOffset < 0 || rb.archiveOffset < 0) {
    compare("whole file", 0, a.size(), 0, b.size());
    return parts;
  }
  // The image without what signing writes into its header (the checksum
  // follows from the rest, so it is left out as well).
  const auto unsignedImage = [](std::string_view file, const LayoutReport& r) {
    std::string image(file.substr(0, static_cast<size_t>(r.recordOffset)));
    const size_t pe = PeHeader(image);
    if (pe) {
      Put32(image, pe + kChecksum, 0);
      const size_t dir = pe + (r.pe.machine == 0x8664 ? kSecurityDir64 : kSecurityDir32);
      if (dir + 8 <= image.size()) {
        Put32(image, dir, 0);
        Put32(image, dir + 4, 0);
      }
    }
    return image;
  };
  const std::string ia = unsignedImage(a, ra), ib = unsignedImage(b, rb);
  PartComparison image{"image"};
  image.same = ia == ib;
  if (!image.same) image.firstDifference = FirstDifference(ia, ib, 0, std::max(ia.size(), ib.size()));
  parts.push_back(image);
  const size_t recordA = static_cast<size_t>(ra.recordOffset), recordB = static_cast<size_t>(rb.recordOffset);
  compare("marker record", recordA, recordA + payload::kRecordSize, recordB, recordB + payload::kRecordSize);
  const size_t archiveA = static_cast<size_t>(ra.archiveOffset), archiveB = static_cast<size_t>(rb.archiveOffset);
  const size_t endA = archiveA + ra.archiveSize, endB = archiveB + rb.archiveSize;
  compare("archive", archiveA, endA, archiveB, endB);
  const size_t tailA = ra.pe.certOffset ? ra.pe.certOffset : a.size();
  const size_t tailB = rb.pe.certOffset ? rb.pe.certOffset : b.size();
  compare("padding", endA, tailA, endB, tailB);
  PartComparison signature{"signature"};
  const auto header = [](std::string_view file, const LayoutReport& r) {
    const size_t pe = PeHeader(file);
    std::string fields;
    if (pe) fields = std::string(file.substr(pe + (r.pe.machine == 0x8664 ? kSecurityDir64 : kSecurityDir32), 8));
    return fields + std::string(file.substr(r.pe.certOffset ? r.pe.certOffset : file.size()));
  };
  signature.same = header(a, ra) == header(b, rb);
  if (!signature.same) signature.firstDifference = ra.pe.certOffset ? ra.pe.certOffset : static_cast<int64_t>(a.size());
  parts.push_back(signature);
  return parts;
}

}  // namespace qx::pack
