#include "payload/install_manifest.h"

#include <algorithm>
#include <charconv>

#include "core/text.h"

namespace qx::payload {
namespace {

constexpr std::string_view kHeader = "qx-item-list 1";
constexpr std::string_view kEnd = "end ";

// One path of the list: components joined by "\" that can only name
// something below the folder they are joined to.
bool IsContainedPath(std::string_view path) {
  std::u32string decoded;
  if (path.empty() || path.size() > 4096 || !DecodeUtf8(path, decoded)) return false;
  size_t start = 0;
  while (true) {
    const size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    for (char c : part)
      if (static_cast<unsigned char>(c) < 0x20 || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
          c == '<' || c == '>' || c == '|')
        return false;
    if (end == path.size()) return true;
    start = end + 1;
  }
}

}  // namespace

std::string RenderItemList(const std::vector<ListedItem>& items) {
  std::string text(kHeader);
  text += "\r\n";
  for (const ListedItem& item : items) {
    text += item.folder ? "D " : "F ";
    for (char c : item.path) text += c == '/' ? '\\' : c;
    text += "\r\n";
  }
  text += std::string(kEnd) + std::to_string(items.size()) + "\r\n";
  return text;
}

std::optional<std::vector<ListedItem>> ParseItemList(std::string_view text) {
  std::vector<ListedItem> items;
  bool header = false, ended = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) return std::nullopt;  // every line ends, the last one too
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (ended) return std::nullopt;  // nothing after the end line
    if (!header) {
      if (line != kHeader) return std::nullopt;
      header = true;
      continue;
    }
    if (line.substr(0, kEnd.size()) == kEnd) {
      size_t count = 0;
      const std::string_view digits = line.substr(kEnd.size());
      const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), count);
      if (digits.empty() || parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size() ||
          count != items.size())
        return std::nullopt;
      ended = true;
      continue;
    }
    if (line.size() < 3 || (line[0] != 'D' && line[0] != 'F') || line[1] != ' ') return std::nullopt;
    const std::string_view path = line.substr(2);
    if (!IsContainedPath(path)) return std::nullopt;
    items.push_back({line[0] == 'D', std::string(path)});
  }
  if (!ended) return std::nullopt;
  return items;
}

std::vector<std::string> FoldersDeepestFirst(const std::vector<ListedItem>& items) {
  std::vector<std::string> folders;
  for (const ListedItem& item : items)
    if (item.folder) folders.push_back(item.path);
  const auto depth = [](const std::string& path) { return std::count(path.begin(), path.end(), '\\'); };
  std::stable_sort(folders.begin(), folders.end(),
                   [&depth](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
  return folders;
}

}  // namespace qx::payload
