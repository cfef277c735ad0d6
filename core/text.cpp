#include "core/text.h"

#include <sstream>

namespace qx {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsNumericValue(std::string_view text) {
  std::istringstream in{std::string(text)};
  in.imbue(std::locale::classic());
  double number = 0;
  if (!(in >> number)) return false;
  char rest = 0;
  while (in.get(rest))
    if (!IsBlank(rest)) return false;
  return true;
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

}  // namespace qx
