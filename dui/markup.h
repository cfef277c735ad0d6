// Attribute values of the layout files; no Windows headers, so the rules
// build and are tested natively as well.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx::dui {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

// "l,t,r,b" (blanks allowed, missing trailing parts are 0); nothing when a
// part is not a number.
std::optional<Rect> ParseRect(std::string_view text);
// "cx,cy".
std::optional<std::pair<int, int>> ParseSize(std::string_view text);
std::optional<int> ParseInt(std::string_view text);
// "#AARRGGBB" or "#RRGGBB" (opaque); also "0x" prefixed.
std::optional<uint32_t> ParseColor(std::string_view text);
bool ParseBool(std::string_view text);

// An image description: a bare file name, or
// file='image\x.bmp' source='l,t,r,b' mask='#FFFF00FF'.
struct ImageDescription {
  std::string file;
  std::optional<Rect> source;
  std::optional<uint32_t> mask;
  bool operator==(const ImageDescription&) const = default;
};
std::optional<ImageDescription> ParseImageDescription(std::string_view text);

}  // namespace qx::dui
