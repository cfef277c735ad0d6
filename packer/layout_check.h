// Reading and checking a finished installer's layout: the program image's
// machine, size and certificate table from its PE headers, the marker
// record, the 7z signature header and the padding. Pure logic over a byte
// buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::pack {

uint32_t Crc32(const unsigned char* data, size_t size);

// A 7z signature header at pos: the six signature bytes and a start header
// whose checksum matches.
bool IsSignatureHeader(std::string_view file, size_t pos);
// Size of the archive that starts at pos (signature header included).
uint64_t ArchiveSize(std::string_view file, size_t pos);

struct PeInfo {
  bool valid = false;
  uint16_t machine = 0;     // 0x14C for 32-bit x86
  uint64_t imageSize = 0;   // end of the last section's raw data
  uint32_t certOffset = 0;  // security directory, 0 when unsigned
  uint32_t certSize = 0;
};
PeInfo ReadPe(std::string_view file);

struct LayoutReport {
  PeInfo pe;
  int64_t recordOffset = -1;
  std::string marker;
  int64_t searchStart = -1;
  bool recordFound = false;  // by the locator: a whole MiB of file behind the record
  int64_t archiveOffset = -1;
  uint64_t archiveSize = 0;
  std::vector<std::string> problems;  // empty when every rule holds
};
// The image machines a layout may carry. The installer ships as 32-bit x86;
// tests on a machine that runs no 32-bit x86 code pack the x86-64 build.
enum class ImageMachines { X86Only, X86OrX64ForTests };
LayoutReport CheckLayout(std::string_view file, ImageMachines machines = ImageMachines::X86Only);

}  // namespace qx::pack
