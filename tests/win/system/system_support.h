// Shared pieces of the system-integration tests: settings from text, the
// helper programs beside the test, shortcut read-back.
#pragma once

#include <string>

namespace qx::test {

// Replaces the loaded settings by those of an info.ini holding `text` (GBK).
void LoadSettingsText(const std::string& text);

// A helper program built beside the test executable ("qx_sleeper.exe").
std::string HelperProgram(const char* fileName);

// The GBK bytes of the product's display name, and the same as UTF-16.
extern const char* const kDisplayNameGbk;
extern const wchar_t* const kDisplayNameWide;

struct ShortcutContent {
  bool loaded = false;
  std::string target;
  std::string description;
  // As the file's header holds it: Wine's interface reports every value
  // other than maximised or minimised as SW_SHOWNORMAL once loaded.
  int showCommand = -1;
};
ShortcutContent ReadShortcut(const std::wstring& linkPath);

std::wstring Wide(const std::string& ansi);
bool WideExists(const std::wstring& path);
void WriteWideFile(const std::wstring& path, const std::string& bytes);

}  // namespace qx::test
