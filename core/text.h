// Byte-string rules shared by the installer and the host tools.
// Pure logic: no Windows headers, so it is tested natively as well.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Spaces and tabs: the blanks the settings file aligns its values with.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);

// True when text reads as a decimal number followed by nothing but blanks
// (leading blanks are skipped), as stream extraction of a double does.
bool IsNumericValue(std::string_view text);

// Splits "key=value" at the first '='; both sides lose surrounding blanks.
// An entry without '=' is all key and an empty value.
struct KeyValue {
  std::string key;
  std::string value;
};
KeyValue SplitEntry(std::string_view entry);

// Walks a buffer of zero-terminated strings, as the profile reader fills it,
// up to `length` bytes; an empty string ends the list.
std::vector<std::string> SplitZeroList(const char* buffer, size_t length);

// The code points of UTF-8 text; false for bytes that are not UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
bool DecodeUtf8(std::string_view text, std::u32string& out);

// ASCII-only case folding, as the product-name comparisons use it.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace qx
