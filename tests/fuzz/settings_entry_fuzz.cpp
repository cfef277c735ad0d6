// Settings-file entries and path rules on arbitrary bytes: no crash, no
// undefined behaviour, and the invariants the readers rely on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/path.h"
#include "core/protected_folders.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto entries = qx::SplitZeroList(input.data(), input.size());
  size_t total = 0;
  for (const auto& entry : entries) {
    total += entry.size() + 1;
    const qx::KeyValue kv = qx::SplitEntry(entry);
    if (!kv.key.empty() && (qx::IsBlank(kv.key.front()) || qx::IsBlank(kv.key.back()))) abort();
    if (!kv.value.empty() && (qx::IsBlank(kv.value.front()) || qx::IsBlank(kv.value.back()))) abort();
    if (kv.key.find('=') != std::string::npos) abort();
    qx::IsNumericValue(kv.value);
  }
  if (total > size + 1) abort();

  const std::string joined = qx::JoinPath(input, "x");
  if (qx::ParentFolder(joined) != input) abort();
  if (qx::IsDriveRoot(input) && qx::WouldRemoveProtectedFolder(input, {"C:\\Windows"}) &&
      !qx::IsSameOrAncestorFolder(input, "C:\\Windows"))
    abort();
  qx::IsAbsolutePath(input);
  return 0;
}
