#include "dui/layout.h"

#include <tinyxml2.h>

namespace qx::dui {
namespace {

constexpr int kMaxIncludeDepth = 4;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
         c == ':' || c == '.';
}

// Layouts written by other tools repeat an attribute, which the XML reader
// refuses; the later value is the one meant, so the earlier ones go.
std::string DropRepeatedAttributes(std::string_view xml) {
  std::string out;
  out.reserve(xml.size());
  size_t i = 0;
  while (i < xml.size()) {
    if (xml[i] != '<' || i + 1 >= xml.size() || !IsNameChar(xml[i + 1])) {
      // Comments, declarations and text pass unchanged.
      if (xml.compare(i, 4, "<!--") == 0) {
        size_t end = xml.find("-->", i);
        end = end == std::string_view::npos ? xml.size() : end + 3;
        out.append(xml.substr(i, end - i));
        i = end;
      } else {
        out += xml[i++];
      }
      continue;
    }
    size_t tagEnd = i + 1;
    while (tagEnd < xml.size() && IsNameChar(xml[tagEnd])) ++tagEnd;
    struct Span {
      std::string_view name;
      size_t begin, end;
    };
    std::vector<Span> spans;
    size_t j = tagEnd;
    while (j < xml.size() && xml[j] != '>' && xml[j] != '/') {
      if (!IsNameChar(xml[j])) {
        ++j;
        continue;
      }
      size_t begin = j;
      while (j < xml.size() && IsNameChar(xml[j])) ++j;
      std::string_view name = xml.substr(begin, j - begin);
      while (j < xml.size() && (xml[j] == ' ' || xml[j] == '\t' || xml[j] == '\r' || xml[j] == '\n')) ++j;
      if (j >= xml.size() || xml[j] != '=') break;
      ++j;
      while (j < xml.size() && (xml[j] == ' ' || xml[j] == '\t' || xml[j] == '\r' || xml[j] == '\n')) ++j;
      if (j >= xml.size() || (xml[j] != '"' && xml[j] != '\'')) break;
      size_t close = xml.find(xml[j], j + 1);
      if (close == std::string_view::npos) break;
      j = close + 1;
      spans.push_back({name, begin, j});
    }
    size_t at = i;
    for (size_t k = 0; k < spans.size(); ++k) {
      bool repeated = false;
      for (size_t later = k + 1; later < spans.size(); ++later)
        repeated = repeated || spans[later].name == spans[k].name;
      if (!repeated) continue;
      out.append(xml.substr(at, spans[k].begin - at));
      at = spans[k].end;
    }
    out.append(xml.substr(at, j - at));
    i = j;
  }
  return out;
}

bool ParseXml(tinyxml2::XMLDocument& doc, std::string_view xml) {
  if (doc.Parse(xml.data(), xml.size()) == tinyxml2::XML_SUCCESS) return true;
  if (doc.ErrorID() != tinyxml2::XML_ERROR_PARSING_ATTRIBUTE) return false;
  std::string repaired = DropRepeatedAttributes(xml);
  return doc.Parse(repaired.data(), repaired.size()) == tinyxml2::XML_SUCCESS;
}

LayoutNode ReadNode(const tinyxml2::XMLElement* element) {
  LayoutNode node;
  node.type = element->Name();
  for (const auto* a = element->FirstAttribute(); a; a = a->Next()) node.attributes.emplace_back(a->Name(), a->Value());
  for (const auto* child = element->FirstChildElement(); child; child = child->NextSiblingElement())
    node.children.push_back(ReadNode(child));
  return node;
}

FontSpec ReadFont(const tinyxml2::XMLElement* element) {
  FontSpec font;
  for (const auto* a = element->FirstAttribute(); a; a = a->Next()) {
    std::string_view name = a->Name();
    if (name == "id") {
      font.id = ParseInt(a->Value()).value_or(-1);
    } else if (name == "name") {
      font.face = a->Value();
    } else if (name == "size") {
      font.size = ParseInt(a->Value()).value_or(12);
    } else if (name == "bold") {
      font.bold = ParseBool(a->Value());
    } else if (name == "underline") {
      font.underline = ParseBool(a->Value());
    } else if (name == "italic") {
      font.italic = ParseBool(a->Value());
    }
  }
  return font;
}

bool ReadChildren(const tinyxml2::XMLElement* parent, const IncludeLoader& loader, int depth, Layout& layout);

bool ReadInclude(const tinyxml2::XMLElement* element, const IncludeLoader& loader, int depth, Layout& layout) {
  const char* source = element->Attribute("source");
  std::string text;
  if (!source || depth >= kMaxIncludeDepth || !loader || !loader(source, text)) return false;
  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, text) || !doc.RootElement()) return false;
  // An included file is either a Window-like wrapper or a single element.
  const auto* root = doc.RootElement();
  std::string_view name = root->Name();
  if (name == "Font" || name == "Include") {
    for (const auto* e = root; e; e = e->NextSiblingElement()) {
      if (std::string_view(e->Name()) == "Font") layout.fonts.push_back(ReadFont(e));
    }
    return true;
  }
  if (name == "Window" || name == "Fonts" || name == "Resource") return ReadChildren(root, loader, depth + 1, layout);
  layout.controls.push_back(ReadNode(root));
  return true;
}

bool ReadChildren(const tinyxml2::XMLElement* parent, const IncludeLoader& loader, int depth, Layout& layout) {
  bool ok = true;
  for (const auto* e = parent->FirstChildElement(); e; e = e->NextSiblingElement()) {
    std::string_view name = e->Name();
    if (name == "Font") {
      layout.fonts.push_back(ReadFont(e));
    } else if (name == "Include") {
      ok = ReadInclude(e, loader, depth, layout) && ok;
    } else if (name == "Default" || name == "Image" || name == "Style") {
      // Shared styles: the pages set every attribute on the control itself.
    } else {
      layout.controls.push_back(ReadNode(e));
    }
  }
  return ok;
}

}  // namespace

std::optional<std::string> LayoutNode::Attribute(std::string_view name) const {
  std::optional<std::string> value;
  for (const auto& [key, v] : attributes) {
    if (key == name) value = v;
  }
  return value;
}

std::optional<Layout> ParseLayout(std::string_view xml, const IncludeLoader& loader) {
  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, xml)) return std::nullopt;
  const auto* window = doc.RootElement();
  if (!window || std::string_view(window->Name()) != "Window") return std::nullopt;
  Layout layout;
  if (const char* size = window->Attribute("size")) {
    if (auto s = ParseSize(size)) {
      layout.width = s->first;
      layout.height = s->second;
    }
  }
  if (const char* caption = window->Attribute("caption")) layout.caption = ParseRect(caption).value_or(Rect{});
  // A missing include (the font table) leaves default fonts, not a blank page.
  ReadChildren(window, loader, 0, layout);
  return layout;
}

}  // namespace qx::dui
