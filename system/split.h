// Cutting a settings text into pieces. Pure logic: no Windows headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Cuts `text` at every occurrence of `delimiter` (never empty). Pieces keep
// their blanks; empty pieces are kept, so "a;" gives "a" and "" and an empty
// text gives one empty piece.
std::vector<std::string> SplitByDelimiter(std::string_view text, std::string_view delimiter);

}  // namespace qx
