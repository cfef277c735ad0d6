// File and folder operations shared by the start-up, the install run and the
// previous-install removal. Paths are ANSI byte strings.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// True for the attributes of a junction or symbolic link (a reparse point).
bool IsLinkAttributes(unsigned long attributes);

// True when the path names an existing file (a folder does not count).
bool WideFileExists(const std::wstring& path);

// True when the path names an existing directory (a plain file does not count).
bool FolderExists(const std::string& path);

// Deletes folder\name; errors are ignored.
void RemoveFileFromFolder(const std::string& folder, std::string_view name);

// Why a folder may not be removed recursively; kAllowed when it may.
enum class RemovalVerdict { kAllowed, kEmpty, kRelative, kDriveRoot, kSystemFolder };
RemovalVerdict CheckFolderRemoval(const std::string& path);

// Deletes everything below the path and then the folder. Refuses (false,
// nothing touched) what CheckFolderRemoval refuses. Never follows a junction
// or symbolic link: the link itself is removed, its target is left alone.
// True when the folder could be listed.
bool RemoveFolderRecursively(const std::string& path);

}  // namespace qx
