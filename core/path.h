// Path rules for Windows paths held as byte strings (ANSI code page).
// Pure logic: no Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// The one path join: folder + "\" + name, by plain concatenation.
std::string JoinPath(std::string_view folder, std::string_view name);
// The same rules over UTF-16 paths, for programs that use only the W-APIs.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// Appends "\" unless the path already ends in one.
std::string WithTrailingSeparator(std::string_view path);
// Removes one trailing "\" when present.
std::string WithoutTrailingSeparator(std::string_view path);

// The folder in front of the last "\" (empty when there is none).
std::string ParentFolder(std::string_view path);
std::wstring ParentFolder(std::wstring_view path);

// "C:\..." or "\\server\share\...": a path that does not depend on the
// current drive or folder.
bool IsAbsolutePath(std::string_view path);
bool IsAbsolutePath(std::wstring_view path);
// "C:", "C:\", "\\server\share", "\\server\share\".
bool IsDriveRoot(std::string_view path);

// ASCII case-insensitive equality of two folders, ignoring one trailing "\"
// and treating "/" as "\".
bool SameFolder(std::string_view a, std::string_view b);

}  // namespace qx
