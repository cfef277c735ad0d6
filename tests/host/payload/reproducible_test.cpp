#include "packer/reproducible.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qx::pack;

namespace {

// A PE header skeleton: "MZ", e_lfanew, "PE\0\0", a PE32 optional header.
std::string FakeImage(size_t size = 1024) {
  std::string image(size, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = static_cast<char>(0x80);
  std::memcpy(&image[0x80], "PE\0\0", 4);
  for (size_t i = 0x200; i < size; ++i) image[i] = static_cast<char>(i * 7);
  return image;
}

uint32_t At(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}

}  // namespace

TEST(ImageStamp, TimeAndTheChecksumThatFollows) {
  std::string image = FakeImage();
  ASSERT_TRUE(StampImage(image, 1700000000));
  EXPECT_EQ(At(image, 0x80 + 8), 1700000000u);
  const uint32_t checksum = At(image, 0x80 + 24 + 64);
  EXPECT_EQ(checksum, PeChecksum(image));  // the field itself does not count
  std::string again = image;
  ASSERT_TRUE(StampImage(again, 1700000000));
  EXPECT_EQ(again, image);
  ASSERT_TRUE(StampImage(again, 1700000001));
  EXPECT_NE(At(again, 0x80 + 24 + 64), checksum);
  // An odd length counts its last byte as a word of its own.
  std::string odd = FakeImage(1023);
  EXPECT_TRUE(StampImage(odd, 5));
  EXPECT_EQ(At(odd, 0x80 + 24 + 64), PeChecksum(odd));
  std::string notPe = "MZ but nothing more";
  EXPECT_FALSE(StampImage(notPe, 1));
  EXPECT_EQ(notPe, "MZ but nothing more");
}

TEST(ImageStamp, SourceDateEpochOrTheNewestPayloadTime) {
  EXPECT_EQ(ImageTimeStamp("1700000000", 5), 1700000000u);
  EXPECT_EQ(ImageTimeStamp("99999999999", 5), UINT32_MAX);
  EXPECT_EQ(ImageTimeStamp("12345678901234567890", 5), UINT32_MAX);
  EXPECT_EQ(ImageTimeStamp(nullptr, 1800000000), 1800000000u);
  EXPECT_EQ(ImageTimeStamp(nullptr, -5), 0u);
  EXPECT_EQ(ImageTimeStamp(nullptr, int64_t{1} << 40), UINT32_MAX);
  for (const char* bad : {"", "17e8", " 1", "-1", "1.5", "99999999999999999999"})
    EXPECT_FALSE(ImageTimeStamp(bad, 5)) << bad;
}

TEST(ArchiveVector, FollowsEveryByteOfTheInputs) {
  const std::string description = "qxpack 2\nsettings ab\nF a.txt\t1 rw 1 cd\n";
  EXPECT_EQ(ArchiveIv(description), ArchiveIv(description));
  std::string changed = description;
  changed[changed.size() - 2] = 'e';
  EXPECT_NE(ArchiveIv(description), ArchiveIv(changed));
  EXPECT_NE(ArchiveIv(""), (std::array<uint8_t, 16>{}));
}
