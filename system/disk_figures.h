// The arithmetic of the install disk-space check, over plain figures so that
// it can be checked without a disk. Pure logic: no Windows headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// The drive part of a path as the C runtime splits it ("C:" for
// "C:\Program Files\x"); empty for a path without a drive letter.
std::string DriveOfPath(std::string_view path);

// Bytes as GB (1024^3) rounded to two decimals the way "%.2f" prints them.
// Any 64-bit figure fits, however large the disk.
double RoundedGigabytes(uint64_t bytes);

// The configured minimum: the first entry of the minimum-space section.
struct SpaceMinimum {
  bool present = false;  // the section has an entry
  bool numeric = false;  // the settings reader marked its value numeric
  std::string value;
};

struct SpaceVerdict {
  bool enough = true;
  bool requiredKnown = false;  // the minimum counted
  int requiredGb = 0;          // whole GB for the message, when known
};

// A minimum that is missing or not numeric counts as 0 (always enough);
// equality passes. The message shows the minimum's whole part.
SpaceVerdict JudgeDiskSpace(uint64_t availableBytes, const SpaceMinimum& minimum);

}  // namespace qx
