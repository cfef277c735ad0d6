// The installer file's layout behind the program image: filler up to a whole
// MiB, a 100-byte marker record, the 7z archive, padding to 8 bytes.
// Pure logic, shared by the installer's locator and the packer.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qx::payload {

inline constexpr int64_t kMiB = 1048576;
inline constexpr size_t kFieldSize = 50;
inline constexpr size_t kRecordSize = 2 * kFieldSize;
inline constexpr int64_t kSignatureSearchLimit = 8 * kMiB;
inline constexpr size_t kMaxMarkerLength = kFieldSize - 1;

using Field = std::array<char, kFieldSize>;
using Record = std::array<char, kRecordSize>;

// The first whole-MiB position (at least 1 MiB) at or behind the image.
int64_t RecordOffsetFor(int64_t imageSize);

// Marker text and search start as ASCII, each zero-filled to its field.
// Empty when the marker is empty or too long, or the number negative.
std::optional<Record> MakeRecord(std::string_view marker, int64_t searchStart);

// The marker field matches when it holds the marker and then a zero byte
// (zero-terminated comparison, as the locator does it).
bool FieldMatches(std::string_view marker, const Field& field);

// Leading white space, an optional sign, digits up to the first non-digit;
// no digits give 0.
int64_t ParseSearchStart(const Field& field);

// Reads up to n bytes at offset into buf (rest left as is); false when the
// read cannot even be positioned.
using ReadAt = std::function<bool(int64_t offset, char* buf, size_t n)>;

// The locator's probe loop over a file of fileSize bytes (a signed 32-bit
// quantity): positions k MiB for 1 <= k < fileSize / 1 MiB, lowest match wins.
// 0 when nothing matches.
int64_t FindSearchStart(std::string_view marker, int64_t fileSize, const ReadAt& read);

}  // namespace qx::payload
