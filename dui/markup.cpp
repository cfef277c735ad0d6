#include "dui/markup.h"

#include <charconv>
#include <vector>

namespace qx::dui {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<std::vector<int>> ParseInts(std::string_view text, size_t maxParts) {
  std::vector<int> parts;
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  while (true) {
    size_t comma = text.find(',');
    auto value = ParseInt(text.substr(0, comma));
    if (!value || parts.size() == maxParts) return std::nullopt;
    parts.push_back(*value);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return parts;
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<Rect> ParseRect(std::string_view text) {
  auto parts = ParseInts(text, 4);
  if (!parts) return std::nullopt;
  parts->resize(4, 0);
  return Rect{(*parts)[0], (*parts)[1], (*parts)[2], (*parts)[3]};
}

std::optional<std::pair<int, int>> ParseSize(std::string_view text) {
  auto parts = ParseInts(text, 2);
  if (!parts || parts->size() != 2) return std::nullopt;
  return std::pair{(*parts)[0], (*parts)[1]};
}

std::optional<uint32_t> ParseColor(std::string_view text) {
  text = Trim(text);
  if (text.starts_with('#')) {
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
  } else {
    return std::nullopt;
  }
  if (text.size() != 6 && text.size() != 8) return std::nullopt;
  uint32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (text.size() == 6) value |= 0xFF000000u;
  return value;
}

bool ParseBool(std::string_view text) { return Trim(text) == "true"; }

std::optional<ImageDescription> ParseImageDescription(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  ImageDescription image;
  if (text.find('=') == std::string_view::npos || text.find('\'') == std::string_view::npos) {
    image.file = std::string(text);
    return image;
  }
  while (true) {
    text = Trim(text);
    if (text.empty()) break;
    size_t eq = text.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = Trim(text.substr(0, eq));
    text.remove_prefix(eq + 1);
    text = Trim(text);
    if (text.empty() || (text.front() != '\'' && text.front() != '"')) return std::nullopt;
    char quote = text.front();
    size_t close = text.find(quote, 1);
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view value = text.substr(1, close - 1);
    text.remove_prefix(close + 1);
    if (key == "file") {
      image.file = std::string(value);
    } else if (key == "source") {
      image.source = ParseRect(value);
      if (!image.source) return std::nullopt;
    } else if (key == "mask") {
      image.mask = ParseColor(value);
      if (!image.mask) return std::nullopt;
    }
    // Other keys (corner, fade, ...) are drawing hints the pages never use.
  }
  if (image.file.empty()) return std::nullopt;
  return image;
}

}  // namespace qx::dui
