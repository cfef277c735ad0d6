// Install-folder rules that need no Windows: the default for the platform,
// the folder made from a dialog choice, and the range of refused characters.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qx {

inline constexpr char kProductFolderName[] = "QXSimulator";

// The fixed default: "C:\Program Files (x86)\QXSimulator" for a 32-bit
// process on 64-bit Windows, else "C:\Program Files\QXSimulator".
std::string DefaultInstallFolderFor(bool wow64);

// Nothing for an empty choice; else the choice without one trailing "\"
// plus "\QXSimulator" (so a drive root gives "D:\QXSimulator").
std::optional<std::string> FolderFromDialogChoice(std::string_view chosen);

// True at the first UTF-16 unit in U+4E00..U+9FCF (the unified ideographs
// the product cannot install under); kana, Hangul and later ideographs pass.
bool ContainsRefusedUnit(std::u16string_view units);

}  // namespace qx
