// A page layout read from XML text into a plain tree; the Windows side turns
// the tree into controls.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dui/markup.h"

namespace qx::dui {

struct LayoutNode {
  std::string type;  // element name: Button, VerticalLayout, ...
  // Attributes in document order; a repeated attribute appears twice and the
  // later one wins when applied in order.
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<LayoutNode> children;

  // The value that wins, or nothing.
  std::optional<std::string> Attribute(std::string_view name) const;
};

struct FontSpec {
  int id = -1;
  std::string face;
  int size = 12;
  bool bold = false;
  bool underline = false;
  bool italic = false;
  bool operator==(const FontSpec&) const = default;
};

struct Layout {
  int width = 0, height = 0;
  Rect caption;
  std::vector<FontSpec> fonts;
  std::vector<LayoutNode> controls;  // the Window element's control children
};

// Loads an included file's text by name; false when it cannot.
using IncludeLoader = std::function<bool(std::string_view name, std::string& text)>;

// Nothing when the text is not XML or its root is not a Window. Includes are
// read through the loader (fonts and controls alike), at most a few levels.
std::optional<Layout> ParseLayout(std::string_view xml, const IncludeLoader& loader);

}  // namespace qx::dui
