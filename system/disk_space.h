// The install disk-space check and the figures of its last query.
#pragma once

#include <windows.h>

#include <string>

// Figures of the last successful free-space query; zero before the first.
class CHardDiskManager {
 public:
  static CHardDiskManager& Instance();  // created on first use
  virtual ~CHardDiskManager() = default;

  ULARGE_INTEGER availableToCaller = {};
  ULARGE_INTEGER totalBytes = {};
  ULARGE_INTEGER totalFree = {};

  CHardDiskManager(const CHardDiskManager&) = delete;
  CHardDiskManager& operator=(const CHardDiskManager&) = delete;

 private:
  CHardDiskManager() = default;
};

namespace qx {

// True when the install folder's drive has at least the settings' minimum
// (MIN_INSTALL_SPACE, first entry) free for the caller, in GB rounded to two
// decimals. Writes the minimum's whole GB to requiredGb only when the
// minimum is numeric.
bool CheckInstallDiskSpace(const std::string& installFolder, int& requiredGb);

}  // namespace qx
