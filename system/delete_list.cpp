#include "system/delete_list.h"

#include <tinyxml2.h>

#include "core/path.h"

namespace qx {
namespace {

constexpr size_t kPathBuffer = 260;

void CollectEntries(const tinyxml2::XMLElement* root, const char* groupName, const char* firstName,
                    std::vector<std::string>& into) {
  const tinyxml2::XMLElement* group = root->FirstChildElement(groupName);
  if (!group) return;
  for (const tinyxml2::XMLElement* entry = group->FirstChildElement(firstName); entry;
       entry = entry->NextSiblingElement()) {
    if (const char* text = entry->GetText()) into.emplace_back(text);
  }
}

std::optional<DeleteList> FromDocument(const tinyxml2::XMLDocument& document) {
  if (document.Error()) return std::nullopt;
  const tinyxml2::XMLElement* root = document.RootElement();
  if (!root) return std::nullopt;
  DeleteList list;
  CollectEntries(root, "DeleteFiles", "DeleteFile", list.files);
  CollectEntries(root, "DeleteFolders", "DeleteFolder", list.folders);
  return list;
}

}  // namespace

std::string DeleteListPath(std::string_view installFolder) {
  if (installFolder.size() >= kPathBuffer) return {};
  std::string parent = ParentFolder(installFolder);
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';
  std::string path = parent + "\\DeleteFile.xml";
  if (path.size() >= kPathBuffer) return {};
  return path;
}

std::optional<DeleteList> ParseDeleteList(std::string_view xml) {
  tinyxml2::XMLDocument document;
  document.Parse(xml.data(), xml.size());
  return FromDocument(document);
}

std::optional<DeleteList> LoadDeleteList(const std::string& path) {
  tinyxml2::XMLDocument document;
  document.LoadFile(path.c_str());
  return FromDocument(document);
}

}  // namespace qx
