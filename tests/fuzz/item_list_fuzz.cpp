// The install list on arbitrary bytes, as an edited or damaged file would
// give it to the uninstaller: no crash, and every accepted path stays below
// the folder it is joined to and survives rendering and reading again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "payload/install_manifest.h"
#include "payload/item_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto items = qx::payload::ParseItemList(input);
  if (!items) return 0;
  for (const auto& item : *items) {
    const std::string_view path = item.path;
    if (!qx::payload::IsSafeItemPath(path) || path.find(':') != std::string_view::npos ||
        path.find("\\\\") != std::string_view::npos || path.back() == '\\')
      abort();
  }
  const auto again = qx::payload::ParseItemList(qx::payload::RenderItemList(*items));
  if (!again || *again != *items) abort();
  qx::payload::FoldersDeepestFirst(*items);
  return 0;
}
