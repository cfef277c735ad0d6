// The removal list an earlier install leaves beside its folder
// (DeleteFile.xml): which files and folders to delete. Pure logic over
// TinyXML-2: no Windows headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

struct DeleteList {
  std::vector<std::string> files;    // in document order
  std::vector<std::string> folders;  // in document order
};

// The list file for an install folder: its parent folder + "\DeleteFile.xml"
// (a drive root keeps its "\", so C:\QXSimulator gives C:\\DeleteFile.xml).
// Empty when the result would not fit a 260-byte path buffer.
std::string DeleteListPath(std::string_view installFolder);

// Under the root element (any name): the first "DeleteFiles" child's first
// "DeleteFile" element and every sibling element after it, of any name, each
// name one file; "DeleteFolders"/"DeleteFolder" likewise name folders. Texts
// are taken byte for byte; elements without text are skipped.
// Nothing when the text is not well-formed XML or has no root element.
std::optional<DeleteList> ParseDeleteList(std::string_view xml);
// The same for a file; nothing when it cannot be read.
std::optional<DeleteList> LoadDeleteList(const std::string& path);

}  // namespace qx
