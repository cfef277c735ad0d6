#include "payload/progress.h"

namespace qx::payload {

uint32_t ProgressPercent(uint64_t completed, uint64_t total) {
  if (total == 0) return 100;
  const float percent = static_cast<float>(completed) / static_cast<float>(total) * 100.0f;
  // The reader never reports more than the total, but a float cast of an
  // out-of-range value is undefined: clamp.
  if (!(percent >= 0.0f)) return 0;
  if (percent >= 100.0f) return completed >= total ? 100 : 99;
  return static_cast<uint32_t>(percent);
}

std::optional<uint32_t> ProgressThrottle::Next(uint64_t completed, uint64_t total) {
  const uint32_t percent = ProgressPercent(completed, total);
  if (percent == last_) return std::nullopt;
  last_ = percent == 100 ? 0 : percent;
  return percent;
}

}  // namespace qx::payload
