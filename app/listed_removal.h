// Removal by list, for an install folder that may hold the user's own
// things: only what the list names goes, never through a junction or
// symbolic link. Paths below `folder` are relative, "\" between components.
#pragma once

#include <string>
#include <vector>

namespace qx {

// File names or paths compared as Windows compares them: without letter case.
bool SameFileName(const std::wstring& a, const std::wstring& b);

// True when `folder` itself, or any folder on the way from it to
// folder\relative, is a junction or symbolic link: a removal through it
// would reach outside the folder.
bool ReachedThroughLink(const std::wstring& folder, const std::wstring& relative);

// Deletes each listed path that is a file (its read-only bit cleared first),
// never through a link; a listed path that is now a folder is left alone.
// Files still there after a few retries (held open by a program that is
// ending, or by one that still runs) are returned.
std::vector<std::wstring> DeleteListedFiles(const std::wstring& folder, const std::vector<std::wstring>& files);

// Removes each listed folder that is empty and no link, in the order given
// (deepest first), then `folder` itself when empty.
void RemoveEmptiedFolders(const std::wstring& folder, const std::vector<std::wstring>& deepestFirst);

// What the folder holds that `listed` does not name, as relative paths: an
// unlisted entry is named and not looked into; a listed folder is looked
// into, a link never. Names compare without letter case, as Windows does.
std::vector<std::wstring> UnlistedItems(const std::wstring& folder, const std::vector<std::wstring>& listed);

}  // namespace qx
