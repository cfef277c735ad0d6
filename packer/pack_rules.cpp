#include "packer/pack_rules.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <map>

#include "core/text.h"
#include "payload/install_manifest.h"
#include "payload/item_path.h"
#include "payload/layout.h"

namespace qx::pack {

std::string SettingsValue(std::string_view settings, std::string_view wantedSection, std::string_view key) {
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
    if (section != wantedSection) continue;
    const KeyValue entry = SplitEntry(trimmed);
    if (entry.key == key) return entry.value;
  }
  return {};
}

std::string MarkerFromSettings(std::string_view settings) { return SettingsValue(settings, "OFFSET_FLAG", "flag"); }

namespace {

// Upper case in every script, as Windows compares file names; the locale's
// table, not the packing user's language.
class CaseFold {
 public:
  CaseFold() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {}
  ~CaseFold() {
    if (locale_) freelocale(locale_);
  }
  CaseFold(const CaseFold&) = delete;
  CaseFold& operator=(const CaseFold&) = delete;

  // False where the system has no such locale: no fold at all then, rather
  // than an ASCII-only one that lets twins through.
  bool Available() const { return locale_ != nullptr; }
  std::u32string operator()(std::u32string text) const {
    for (char32_t& c : text) c = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale_));
    return text;
  }

 private:
  locale_t locale_;
};

bool IsDeviceName(std::string_view component) {
  // "con.txt" and "nul .log" open the device too: the name before the first
  // dot, trailing blanks dropped, is what counts.
  std::string_view base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    if (EqualsIgnoreAsciiCase(base, device)) return true;
  if (base.size() < 4 ||
      !(EqualsIgnoreAsciiCase(base.substr(0, 3), "COM") || EqualsIgnoreAsciiCase(base.substr(0, 3), "LPT")))
    return false;
  const std::string_view port = base.substr(3);
  return (port.size() == 1 && port[0] >= '0' && port[0] <= '9') || port == "\u00B9" || port == "\u00B2" ||
         port == "\u00B3";
}

// Why Windows cannot hold this path component as a file or folder name, or
// empty.
std::string WindowsNameProblem(std::string_view component) {
  for (char c : component) {
    if (static_cast<unsigned char>(c) < 0x20) return "control character in a name";
    if (std::string_view("<>:\"\\|?*").find(c) != std::string_view::npos)
      return std::string("character '") + c + "' is not allowed in a Windows name";
  }
  if (!component.empty() && (component.back() == '.' || component.back() == ' '))
    return "Windows drops a name's trailing dot or space";
  if (IsDeviceName(component)) return "a Windows device name";
  return {};
}

}  // namespace

std::vector<std::string> PayloadPathProblems(const std::vector<std::string>& paths) {
  std::vector<std::string> problems;
  const CaseFold fold;
  if (!fold.Available()) return {"no C.UTF-8 locale to compare names in letter case"};
  std::map<std::u32string, std::string> seen;  // folded -> first spelling
  std::u32string decoded;
  for (const std::string& path : paths) {
    if (!payload::IsSafeItemPath(std::string_view(path))) {
      problems.push_back("unsafe item path: " + path);
      continue;
    }
    if (!DecodeUtf8(path, decoded)) {
      problems.push_back("name is not UTF-8: " + path);
      continue;
    }
    std::string nameProblem;
    for (size_t start = 0; start <= path.size() && nameProblem.empty();) {
      const size_t end = std::min(path.find('/', start), path.size());
      nameProblem = WindowsNameProblem(std::string_view(path).substr(start, end - start));
      start = end + 1;
    }
    if (!nameProblem.empty()) {
      problems.push_back(nameProblem + ": " + path);
      continue;
    }
    if (path.find('/') == std::string::npos) {
      bool reserved = false;
      for (const char* name : {payload::kItemListName, payload::kSettingsCopyName})
        reserved = reserved || EqualsIgnoreAsciiCase(path, name);
      if (reserved) {
        problems.push_back("name kept for the install record the packer writes: " + path);
        continue;
      }
    }
    auto [it, inserted] = seen.emplace(fold(decoded), path);
    if (!inserted) problems.push_back("names differ only in letter case: " + it->second + " and " + path);
  }
  return problems;
}

uint64_t InstallerSize(uint64_t imageSize, uint64_t archiveSize) {
  const uint64_t end = payload::RecordOffsetFor(static_cast<int64_t>(imageSize)) + payload::kRecordSize + archiveSize;
  return (end + 7) / 8 * 8;
}

}  // namespace qx::pack
