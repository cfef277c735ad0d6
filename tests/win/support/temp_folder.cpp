#include "temp_folder.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace qx::test {
namespace {

void Wipe(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        Wipe(child);
      else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        ::RemoveDirectoryA(child.c_str());
      else
        ::DeleteFileA(child.c_str());
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::TempFolder(const std::string& name) : path_("C:\\qxtest\\" + name) {
  Wipe(path_);
  MakeFolder(path_);
}

TempFolder::~TempFolder() { Wipe(path_); }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolder(const std::string& path) {
  for (size_t pos = path.find('\\', 3); pos != std::string::npos; pos = path.find('\\', pos + 1))
    ::CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
  ::CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace qx::test
