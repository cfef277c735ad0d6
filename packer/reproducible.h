// What makes a packed installer a function of its inputs, and the
// comparison of two installers part by part. Pure logic over bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::pack {

// The PE checksum as the linker and the loader compute it: 16-bit words
// summed with carry, the checksum field itself left out, plus the length.
uint32_t PeChecksum(std::string_view image);

// Sets the image's link time stamp and the checksum that follows from it.
// False (image untouched) when it has no PE header.
bool StampImage(std::string& image, uint32_t timeStamp);

// The time stamp: SOURCE_DATE_EPOCH when the environment gives one (a
// decimal count of seconds), else the newest modification time among the
// payload's items; clamped to what the header holds. Nothing for an
// epoch that is not a plain decimal number.
std::optional<uint32_t> ImageTimeStamp(const char* sourceDateEpoch, int64_t newestPayloadSeconds);

// The archive's AES initialisation vector: an HMAC-SHA-256 keyed with the
// payload password over the description of every input (settings, each
// item's path, kind, size, time, read-only bit and content digest, the
// packer's version), cut to 16 bytes. Two payloads that differ anywhere get
// different vectors; the same inputs always the same one.
std::array<uint8_t, 16> ArchiveIv(std::string_view description);

// Two installers, part by part: image, marker record, archive, padding,
// signature. The image's checksum and certificate-table entry belong to the
// signature (signing writes them).
struct PartComparison {
  std::string part;
  bool same = true;
  int64_t firstDifference = -1;  // offset in the first file; -1 when same
};
std::vector<PartComparison> CompareInstallers(std::string_view a, std::string_view b);

}  // namespace qx::pack
