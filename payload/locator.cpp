#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/ini_info.h"
#include "payload/extract.h"
#include "payload/layout.h"

namespace qx::payload {

int64_t FindPayloadSearchStart(const std::string& file, const std::string& marker) {
  FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return 0;
  int64_t result = 0;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    // The size as a signed 32-bit number: files of 2 GiB or more give -1 or fail.
    const long size = std::ftell(f);
    auto read = [f](int64_t offset, char* buf, size_t n) {
      if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0) return false;
      std::fread(buf, 1, n, f);
      return true;
    };
    if (size > 0) result = FindSearchStart(marker, size, read);
  }
  std::fclose(f);
  return result;
}

}  // namespace qx::payload

void GetPayloadOffset(int64_t& searchStart) {
  std::string marker;
  std::vector<CIniInfoData*> entries;
  CIniInfoManager::Instance().GetSectionEntries("OFFSET_FLAG", entries);
  for (const CIniInfoData* entry : entries) {
    if (entry->key == "flag") {
      marker = entry->value;
      break;
    }
  }
  char path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  searchStart = qx::payload::FindPayloadSearchStart(path, marker);
}
