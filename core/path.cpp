#include "core/path.h"

#include "core/text.h"

namespace qx {
namespace {

// Byte and UTF-16 paths share these: separators and drive letters are ASCII.
template <typename Char>
bool IsSeparator(Char c) {
  return c == '\\' || c == '/';
}
template <typename Char>
bool IsDriveLetter(Char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

template <typename Char>
std::basic_string<Char> Join(std::basic_string_view<Char> folder, std::basic_string_view<Char> name) {
  std::basic_string<Char> out;
  out.reserve(folder.size() + 1 + name.size());
  out.append(folder).push_back('\\');
  out.append(name);
  return out;
}

template <typename Char>
std::basic_string<Char> Parent(std::basic_string_view<Char> path) {
  const size_t slash = path.rfind('\\');
  return slash == path.npos ? std::basic_string<Char>() : std::basic_string<Char>(path.substr(0, slash));
}

template <typename Char>
bool IsAbsolute(std::basic_string_view<Char> path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) return true;
  return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

std::string Normalised(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  if (out.size() > 1 && out.back() == '\\') out.pop_back();
  return out;
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) { return Join(folder, name); }
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) { return Join(folder, name); }

std::string WithTrailingSeparator(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != '\\') out.push_back('\\');
  return out;
}

std::string WithoutTrailingSeparator(std::string_view path) {
  std::string out(path);
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string ParentFolder(std::string_view path) { return Parent(path); }
std::wstring ParentFolder(std::wstring_view path) { return Parent(path); }

bool IsAbsolutePath(std::string_view path) { return IsAbsolute(path); }
bool IsAbsolutePath(std::wstring_view path) { return IsAbsolute(path); }

bool IsDriveRoot(std::string_view path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':')
    return path.size() == 2 || (path.size() == 3 && IsSeparator(path[2]));
  if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
  // \\server\share with at most one trailing separator.
  std::string_view rest = path.substr(2);
  if (!rest.empty() && IsSeparator(rest.back())) rest.remove_suffix(1);
  size_t separators = 0;
  for (char c : rest)
    if (IsSeparator(c)) ++separators;
  return separators <= 1;
}

bool SameFolder(std::string_view a, std::string_view b) { return EqualsIgnoreAsciiCase(Normalised(a), Normalised(b)); }

}  // namespace qx
