// SHA-256 and HMAC-SHA-256 (FIPS 180-4, RFC 2104). Pure logic: the packer
// derives the archive's initialisation vector from its inputs with them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, size_t size);
  void Update(std::string_view text) { Update(text.data(), text.size()); }
  Sha256Digest Finish();  // once; the object is spent afterwards

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> buffer_{};
  size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes
};

Sha256Digest Sha256Of(std::string_view data);
Sha256Digest HmacSha256(std::string_view key, std::string_view message);
std::string HexOf(const uint8_t* data, size_t size);

}  // namespace qx
