#include "system/disk_space.h"

#include <vector>

#include "app/ini_info.h"
#include "system/disk_figures.h"

CHardDiskManager& CHardDiskManager::Instance() {
  static CHardDiskManager* instance = new CHardDiskManager();  // lives until the process ends
  return *instance;
}

namespace qx {

bool CheckInstallDiskSpace(const std::string& installFolder, int& requiredGb) {
  CHardDiskManager& disk = CHardDiskManager::Instance();
  // A failed query leaves the previous figures (zero before the first).
  ULARGE_INTEGER available, total, free;
  if (::GetDiskFreeSpaceExA(DriveOfPath(installFolder).c_str(), &available, &total, &free)) {
    disk.availableToCaller = available;
    disk.totalBytes = total;
    disk.totalFree = free;
  }

  SpaceMinimum minimum;
  std::vector<CIniInfoData*> entries;
  CIniInfoManager::Instance().GetSectionEntries("MIN_INSTALL_SPACE", entries);
  if (!entries.empty()) {
    minimum.present = true;
    minimum.numeric = entries.front()->numeric;
    minimum.value = entries.front()->value;
  }
  const SpaceVerdict verdict = JudgeDiskSpace(disk.availableToCaller.QuadPart, minimum);
  if (verdict.requiredKnown) requiredGb = verdict.requiredGb;
  return verdict.enough;
}

}  // namespace qx
