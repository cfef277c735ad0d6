// The packer's payload name rules on arbitrary bytes: no crash, no undefined
// behaviour, and a name it accepts is one Windows can hold, whose twin it
// refuses.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "packer/pack_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> paths;
  for (size_t start = 0; start <= input.size();) {
    const size_t end = std::min(input.find('\n', start), input.size());
    paths.emplace_back(input.substr(start, end - start));
    start = end + 1;
  }
  if (qx::pack::PayloadPathProblems(paths).size() > paths.size()) abort();
  for (const std::string& path : paths) {
    if (!qx::pack::PayloadPathProblems({path}).empty()) continue;
    for (char c : path)
      if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"\\|?*").find(c) != std::string_view::npos)
        abort();
    if (qx::pack::PayloadPathProblems({path, path}).size() != 1) abort();
  }
  return 0;
}
