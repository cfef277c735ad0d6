#include "core/text.h"

#include <charconv>
#include <system_error>

namespace qx {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsNumericValue(std::string_view text) {
  // As a double's stream extraction reads it, without the stream machinery
  // (which would bring the whole locale library into the installer): any
  // white space first, one optional sign, decimal digits only (no inf, nan
  // or hex), nothing out of range, then blanks only.
  size_t pos = text.find_first_not_of(" \t\n\v\f\r");
  if (pos == std::string_view::npos) return false;
  size_t digits = pos + (text[pos] == '+' || text[pos] == '-' ? 1 : 0);
  if (text[pos] == '+') pos = digits;  // from_chars takes only a minus
  if (digits >= text.size() || !(text[digits] == '.' || (text[digits] >= '0' && text[digits] <= '9'))) return false;
  double number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + pos, end, number, std::chars_format::general);
  if (error != std::errc()) return false;
  return TrimBlanks(std::string_view(stop, static_cast<size_t>(end - stop))).empty();
}

KeyValue SplitEntry(std::string_view entry) {
  const size_t eq = entry.find('=');
  if (eq == std::string_view::npos) return {std::string(TrimBlanks(entry)), {}};
  return {std::string(TrimBlanks(entry.substr(0, eq))), std::string(TrimBlanks(entry.substr(eq + 1)))};
}

std::vector<std::string> SplitZeroList(const char* buffer, size_t length) {
  std::vector<std::string> items;
  size_t pos = 0;
  while (pos < length && buffer[pos] != '\0') {
    size_t end = pos;
    while (end < length && buffer[end] != '\0') ++end;
    items.emplace_back(buffer + pos, end - pos);
    pos = end + 1;
  }
  return items;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool DecodeUtf8(std::string_view text, std::u32string& out) {
  out.clear();
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    out.push_back(c);
    i += length;
  }
  return true;
}

}  // namespace qx
