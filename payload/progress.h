// The extraction's progress rule: whole percent of the bytes unpacked,
// reported once per change. Pure logic.
#pragma once

#include <cstdint>
#include <optional>

namespace qx::payload {

// completed / total * 100 in single precision, truncated. A zero total
// counts as done, so an archive without data still reaches 100.
uint32_t ProgressPercent(uint64_t completed, uint64_t total);

// Remembers the last reported percent; 100 is stored as 0, so every further
// call at 100 % reports 100 again.
class ProgressThrottle {
 public:
  // The percent to report for this call, or nothing.
  std::optional<uint32_t> Next(uint64_t completed, uint64_t total);

 private:
  uint32_t last_ = 0;
};

}  // namespace qx::payload
