// Where the product goes: the default folder, the folder dialog and the
// rule against Chinese characters. Paths are ANSI (GBK) byte strings.
#pragma once
#include <string>
#include <string_view>

#include "core/folder_rules.h"

namespace qx {

// True for a 32-bit process on 64-bit Windows; false where IsWow64Process
// is missing (such systems are 32-bit only).
bool RunsUnderWow64();
std::string DefaultInstallFolder();

// The path decoded as GBK has a unit in U+4E00..U+9FCF. Text that is not
// valid GBK decodes to nothing and is not refused.
bool ContainsChineseCharacters(std::string_view path);

// The system folder dialog; the chosen file-system folder, or "" when the
// user cancels (or the choice cannot be turned into a path).
std::string AskForFolder();

}  // namespace qx
