#include "system/disk_figures.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace qx {

std::string DriveOfPath(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  return {};
}

double RoundedGigabytes(uint64_t bytes) {
  const double gb = static_cast<double>(bytes) * (1.0 / 1024) * (1.0 / 1024) * (1.0 / 1024);
  // Rounded through text as printed; the buffer holds the largest 64-bit
  // figure (about 1.7e10 GB), where ten characters would cut at a million GB.
  char text[64] = {};
  std::snprintf(text, sizeof text, "%.2f", gb);
  return std::strtod(text, nullptr);
}

namespace {

// atoi without its undefined overflow: out-of-range values clamp.
int WholePart(const std::string& value) {
  errno = 0;
  const long n = std::strtol(value.c_str(), nullptr, 10);
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

}  // namespace

SpaceVerdict JudgeDiskSpace(uint64_t availableBytes, const SpaceMinimum& minimum) {
  SpaceVerdict verdict;
  double required = 0;
  if (minimum.present && minimum.numeric) {
    required = std::strtod(minimum.value.c_str(), nullptr);
    verdict.requiredKnown = true;
    verdict.requiredGb = WholePart(minimum.value);
  }
  verdict.enough = required <= RoundedGigabytes(availableBytes);
  return verdict;
}

}  // namespace qx
