#include "app/ini_info.h"

#include <windows.h>

#include "core/text.h"

CIniInfoData::CIniInfoData(std::string section_, std::string key_, std::string value_)
    : section(std::move(section_)),
      key(std::move(key_)),
      value(std::move(value_)),
      numeric(qx::IsNumericValue(value)) {}

CIniInfoManager& CIniInfoManager::Instance() {
  static CIniInfoManager* manager = new CIniInfoManager();  // lives until the process ends
  return *manager;
}

bool CIniInfoManager::AddEntry(const std::string& section, const std::string& key, const std::string& value) {
  auto record = std::make_unique<CIniInfoData>(section, key, value);
  qx::win::ScopedLock hold(lock_);
  records_.push_back(std::move(record));
  return true;
}

void CIniInfoManager::GetSectionEntries(const std::string& section, std::vector<CIniInfoData*>& out) {
  out.clear();
  qx::win::ScopedLock hold(lock_);
  for (const auto& record : records_)
    if (record->section == section) out.push_back(record.get());
}

bool CIniInfoManager::FindByKey(const std::string& key, CIniInfoData& out) {
  qx::win::ScopedLock hold(lock_);
  for (const auto& record : records_) {
    if (record->key != key) continue;
    out.section = record->section;
    out.key = record->key;
    out.value = record->value;
    out.numeric = record->numeric;
    return true;
  }
  return false;
}

void CIniInfoManager::Clear() {
  qx::win::ScopedLock hold(lock_);
  records_.clear();
}

size_t CIniInfoManager::Count() {
  qx::win::ScopedLock hold(lock_);
  return records_.size();
}

namespace qx {
namespace {

// The profile reader reports a full buffer as size - 2 and cuts what does not
// fit; grow until the whole list fits.
template <typename Read>
std::vector<std::string> ReadWholeList(DWORD initialSize, Read read) {
  constexpr DWORD kMaxSize = 64u << 20;
  for (DWORD size = initialSize;; size *= 2) {
    std::string buffer(size, '\0');
    const DWORD used = read(buffer.data(), size);
    if (used + 2 < size || size >= kMaxSize) return SplitZeroList(buffer.data(), std::min(used, size));
  }
}

}  // namespace

void LoadSettings(const std::string& path) {
  const char* file = path.c_str();
  const auto sections = ReadWholeList(
      2048, [file](char* buffer, DWORD size) { return ::GetPrivateProfileSectionNamesA(buffer, size, file); });
  auto& manager = CIniInfoManager::Instance();
  for (const std::string& section : sections) {
    const auto entries = ReadWholeList(260, [&](char* buffer, DWORD size) {
      return ::GetPrivateProfileSectionA(section.c_str(), buffer, size, file);
    });
    for (const std::string& entry : entries) {
      const KeyValue kv = SplitEntry(entry);
      manager.AddEntry(section, kv.key, kv.value);
    }
  }
}

UninstallValues ReadUninstallValues() {
  auto& manager = CIniInfoManager::Instance();
  UninstallValues values;
  const auto read = [&manager](const char* key, std::string& into) {
    CIniInfoData record;
    if (manager.FindByKey(key, record)) into = record.value;
  };
  read("RegeditKeyName", values.regeditKeyName);
  read("DisplayIcon", values.displayIcon);
  read("DisplayName", values.displayName);
  read("UninstallString", values.uninstallString);
  return values;
}

}  // namespace qx
