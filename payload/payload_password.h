// The fixed password of the payload archive's item data, shared by the
// installer (which hands it to the codec library) and the packer.
#pragma once

namespace qx::payload {

inline constexpr char kPayloadPassword[] = "k7q2m9x4vr8t1wz6hn3jc5pd0a";
static_assert(sizeof(kPayloadPassword) - 1 == 26);

}  // namespace qx::payload
