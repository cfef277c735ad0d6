// The record of an install that the packer puts at the top of every
// payload: the archive's items, so that the uninstaller removes exactly
// what the install brought and leaves what the user added, and a copy of
// the settings the installer was built with (names, kill list, auto-start
// list). Pure logic.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::payload {

inline constexpr char kItemListName[] = "uninstall.lst";
inline constexpr char kSettingsCopyName[] = "uninstall.ini";

struct ListedItem {
  bool folder = false;
  std::string path;  // UTF-8, "\" between components, relative to the install folder

  bool operator==(const ListedItem&) const = default;
};

// The list's text: a header line, one line per item in the given order and
// an end line with the count, so that a cut-off file is told from a short one.
std::string RenderItemList(const std::vector<ListedItem>& items);

// The items of a whole list. Nothing when the text is not one, or when any
// path could name something outside the install folder (absolute, a drive,
// "." or "..", an empty component, a stream name) or is not UTF-8: a list
// anyone could have edited is trusted all or not at all.
std::optional<std::vector<ListedItem>> ParseItemList(std::string_view text);

// The listed folders, deepest first: the order in which emptied folders can go.
std::vector<std::string> FoldersDeepestFirst(const std::vector<ListedItem>& items);

}  // namespace qx::payload
