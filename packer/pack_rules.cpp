#include "packer/pack_rules.h"

#include <map>

#include "core/text.h"
#include "payload/item_path.h"
#include "payload/layout.h"

namespace qx::pack {

std::string MarkerFromSettings(std::string_view settings) {
  std::string section;
  size_t pos = 0;
  while (pos < settings.size()) {
    size_t end = settings.find('\n', pos);
    if (end == std::string_view::npos) end = settings.size();
    std::string_view line = settings.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (trimmed.front() == '[') {
      const size_t close = trimmed.find(']');
      section = std::string(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      continue;
    }
    if (section != "OFFSET_FLAG") continue;
    const KeyValue entry = SplitEntry(trimmed);
    if (entry.key == "flag") return entry.value;
  }
  return {};
}

std::vector<std::string> PayloadPathProblems(const std::vector<std::string>& paths) {
  std::vector<std::string> problems;
  std::map<std::string, std::string> seen;  // folded -> first spelling
  for (const std::string& path : paths) {
    if (!payload::IsSafeItemPath(std::string_view(path))) {
      problems.push_back("unsafe item path: " + path);
      continue;
    }
    std::string folded = path;
    for (char& c : folded)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    auto [it, inserted] = seen.emplace(folded, path);
    if (!inserted) problems.push_back("names differ only in letter case: " + it->second + " and " + path);
  }
  return problems;
}

uint64_t InstallerSize(uint64_t imageSize, uint64_t archiveSize) {
  const uint64_t end = payload::RecordOffsetFor(static_cast<int64_t>(imageSize)) + payload::kRecordSize + archiveSize;
  return (end + 7) / 8 * 8;
}

}  // namespace qx::pack
