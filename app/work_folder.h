// The work folder in the root of the temporary folder's drive, into which the
// installer writes its codec library and settings file and reads them back.
#pragma once

#include <string>
#include <string_view>

#include "app/ini_info.h"
#include "win/scoped.h"

namespace qx {

inline constexpr const char* kCodecLibraryName = "7zTmp.dll";
inline constexpr const char* kSettingsFileName = "info.ini";

// First three characters of the temporary-folder path + "qxextract".
std::string WorkFolderPath();

// Writes resource id/type to folder\name, replacing any file there.
// True when the whole resource was written.
bool WriteResourceToFile(const std::string& folder, std::string_view name, int id, const char* type);

// A work-folder file checked to hold exactly the embedded resource's bytes,
// kept open so that nobody can write, replace or delete it while it is used.
// Anyone may create the folder before the installer does, so a file that
// fails the check is treated as missing.
class PinnedWorkFile {
 public:
  PinnedWorkFile() = default;
  PinnedWorkFile(std::string path, win::ScopedHandle pin) : path_(std::move(path)), pin_(std::move(pin)) {}

  bool Verified() const { return pin_.Valid(); }
  // The file's path while it is verified and held; empty otherwise.
  std::string Path() const { return Verified() ? path_ : std::string(); }
  // Lets go of the file, for example before deleting it.
  void Release() { pin_.Reset(); }

 private:
  std::string path_;
  win::ScopedHandle pin_;
};

// Opens folder\name denying writers and deleters and compares it with the
// resource; an unverified result when they differ or either is missing.
PinnedWorkFile PinResourceFile(const std::string& folder, std::string_view name, int id, const char* type);

struct PreparedWorkFolder {
  std::string path;
  PinnedWorkFile codecLibrary;  // held until the codec library is loaded
  UninstallValues uninstallValues;
};

// Makes the folder, writes both files, loads the settings from the verified
// settings file and reads the values the main window keeps.
PreparedWorkFolder PrepareWorkFolder();

// Removes both files and then the folder (recomputing its path).
void CleanWorkFolder();

// The product's folder in the user's roaming application data (the report
// program's home); empty when the system has no such folder. The installer
// stages the report program there and writes its settings file.
inline constexpr const char* kReportProgramName = "HttpInstallSubmit.exe";
inline constexpr const char* kReportSettingsName = "submitconfig.ini";
std::string ProductAppDataFolder();
// Makes sure that folder exists (one level is made).
void EnsureAppDataFolder();

}  // namespace qx
