// The installer's own embedded resources, as bytes. A found resource stays
// loaded until the process ends, as the module's resources do anyway.
#pragma once

#include <string_view>

namespace qx::win {

// Empty when the resource is missing, empty or cannot be loaded.
std::string_view OwnResource(int id, const char* type);

}  // namespace qx::win
