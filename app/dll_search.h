// An installer usually starts from the Downloads folder, where other files
// lie, and runs elevated: the first thing it does is take DLLs from the
// system folder only.
#pragma once

namespace qx {

// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run
// time because older systems lack it; false where it is missing or refused.
bool RestrictDllSearchToSystemFolder();

}  // namespace qx
