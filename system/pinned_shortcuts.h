// The taskbar's pinned shortcuts (the quick-launch folder's User
// Pinned\TaskBar), which a pinning tool names as it likes: found by target.
#pragma once

#include <string>

namespace qx {

// The link's target path; empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& linkPath);

// Unpins (the shell's verb) and deletes the pinned shortcuts that point at
// `target`, whatever their names.
void RemovePinnedShortcuts(const std::string& target);

}  // namespace qx
