#include "payload/layout.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qx::payload {

int64_t RecordOffsetFor(int64_t imageSize) {
  const int64_t k = std::max<int64_t>(1, (imageSize + kMiB - 1) / kMiB);
  return k * kMiB;
}

std::optional<Record> MakeRecord(std::string_view marker, int64_t searchStart) {
  if (marker.empty() || marker.size() > kMaxMarkerLength || marker.find('\0') != std::string_view::npos ||
      searchStart < 0)
    return std::nullopt;
  Record record{};
  std::copy(marker.begin(), marker.end(), record.begin());
  const std::string digits = std::to_string(searchStart);
  std::copy(digits.begin(), digits.end(), record.begin() + kFieldSize);
  return record;
}

bool FieldMatches(std::string_view marker, const Field& field) {
  // strcmp semantics: the marker stops at its own zero byte too.
  marker = marker.substr(0, std::min(marker.find('\0'), marker.size()));
  if (marker.size() >= kFieldSize) return false;
  return std::memcmp(marker.data(), field.data(), marker.size()) == 0 && field[marker.size()] == '\0';
}

int64_t ParseSearchStart(const Field& field) {
  size_t i = 0;
  while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
  // Accumulate negatively so that INT64_MIN parses; saturate instead of overflowing.
  int64_t value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    const int digit = field[i] - '0';
    if (value < (INT64_MIN + digit) / 10) {
      value = INT64_MIN;
      continue;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == INT64_MIN ? INT64_MAX : -value;
}

int64_t FindSearchStart(std::string_view marker, int64_t fileSize, const ReadAt& read) {
  if (fileSize < 0 || fileSize > INT32_MAX) return 0;
  const int64_t q = fileSize / kMiB;
  for (int64_t k = 1; k < q; ++k) {
    Field field{};
    if (!read(k * kMiB, field.data(), field.size())) continue;
    if (!FieldMatches(marker, field)) continue;
    Field start{};
    read(k * kMiB + static_cast<int64_t>(kFieldSize), start.data(), start.size());
    return ParseSearchStart(start);
  }
  return 0;
}

}  // namespace qx::payload
