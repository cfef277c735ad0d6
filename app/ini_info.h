// The install settings (info.ini) held for the whole run: one record per
// entry, in file order, behind one process-wide manager.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "win/critical_section.h"

class CIniInfoData {
 public:
  CIniInfoData() = default;
  CIniInfoData(std::string section, std::string key, std::string value);
  virtual ~CIniInfoData() = default;

  std::string section;
  std::string key;
  std::string value;
  bool numeric = false;
};

class CIniInfoManager {
 public:
  // The one manager, created on first use.
  static CIniInfoManager& Instance();

  bool AddEntry(const std::string& section, const std::string& key, const std::string& value);
  // Empties `out`, then appends the records of `section` in file order. The
  // records stay owned by the manager.
  void GetSectionEntries(const std::string& section, std::vector<CIniInfoData*>& out);
  // Copies the first record with `key`, in any section, into `out`; leaves
  // `out` as it was and returns false when there is none.
  bool FindByKey(const std::string& key, CIniInfoData& out);
  void Clear();
  size_t Count();

  CIniInfoManager(const CIniInfoManager&) = delete;
  CIniInfoManager& operator=(const CIniInfoManager&) = delete;

 private:
  CIniInfoManager() = default;
  ~CIniInfoManager() = default;

  qx::win::CriticalSection lock_;
  std::vector<std::unique_ptr<CIniInfoData>> records_;
};

namespace qx {

// Reads every section of the file at `path` into the manager. A missing or
// unreadable file adds nothing. Sections are read whole, however long.
void LoadSettings(const std::string& path);

// The settings values the main window keeps; a missing key stays empty.
struct UninstallValues {
  std::string regeditKeyName;
  std::string displayIcon;
  std::string displayName;
  std::string uninstallString;
};
UninstallValues ReadUninstallValues();

}  // namespace qx
