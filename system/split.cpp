#include "system/split.h"

namespace qx {

std::vector<std::string> SplitByDelimiter(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  const std::string extended = std::string(text) + std::string(delimiter);
  size_t pos = 0;
  while (pos < extended.size()) {
    const size_t next = extended.find(delimiter, pos);
    pieces.push_back(extended.substr(pos, next - pos));
    pos = next + delimiter.size();
  }
  return pieces;
}

}  // namespace qx
