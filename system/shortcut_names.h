// Names and command lines of the product's shortcuts and taskbar pin.
// Pure logic: no Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// "卸载" (GBK) followed by the display name: the uninstaller's shortcut.
std::string UninstallShortcutName(std::string_view displayName);

// An auto-start program's shortcut name: the file name without its last
// four characters (".exe"); a shorter name is kept whole. Counted in
// characters, so a double-byte name is never cut inside a character.
std::wstring AutoStartShortcutName(std::wstring_view programFile);

// "<folder>\syspin" "<folder>\<program>" c:5386 -- both paths quoted, so an
// install folder with blanks stays one argument. No extension on syspin:
// the process start finds syspin.exe.
std::string PinCommandLine(std::string_view installFolder, std::string_view mainProgram);

}  // namespace qx
