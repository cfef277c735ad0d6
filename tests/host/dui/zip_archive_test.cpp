#include "dui/zip_archive.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string Deflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

struct Member {
  std::string name, data;
  bool deflate;
};

// A zip as the packer writes one, with an archive comment at the end.
std::string MakeZip(const std::vector<Member>& members, const std::string& comment = "") {
  std::string zip, dir;
  for (const auto& m : members) {
    std::string packed = m.deflate ? Deflate(m.data) : m.data;
    uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size()));
    uint32_t offset = static_cast<uint32_t>(zip.size());
    uint16_t method = m.deflate ? 8 : 0;
    Put32(zip, 0x04034b50);
    Put16(zip, 20), Put16(zip, 0), Put16(zip, method), Put32(zip, 0), Put32(zip, crc);
    Put32(zip, static_cast<uint32_t>(packed.size())), Put32(zip, static_cast<uint32_t>(m.data.size()));
    Put16(zip, static_cast<uint32_t>(m.name.size())), Put16(zip, 0);
    zip += m.name + packed;
    Put32(dir, 0x02014b50);
    Put16(dir, 20), Put16(dir, 20), Put16(dir, 0), Put16(dir, method), Put32(dir, 0), Put32(dir, crc);
    Put32(dir, static_cast<uint32_t>(packed.size())), Put32(dir, static_cast<uint32_t>(m.data.size()));
    Put16(dir, static_cast<uint32_t>(m.name.size())), Put16(dir, 0), Put16(dir, 0), Put16(dir, 0), Put16(dir, 0);
    Put32(dir, 0), Put32(dir, offset);
    dir += m.name;
  }
  uint32_t dirOffset = static_cast<uint32_t>(zip.size());
  zip += dir;
  Put32(zip, 0x06054b50);
  Put16(zip, 0), Put16(zip, 0), Put16(zip, static_cast<uint32_t>(members.size()));
  Put16(zip, static_cast<uint32_t>(members.size()));
  Put32(zip, static_cast<uint32_t>(dir.size())), Put32(zip, dirOffset);
  Put16(zip, static_cast<uint32_t>(comment.size()));
  return zip + comment;
}

const std::string kLayout = "<Window size=\"610,390\"><VerticalLayout /></Window>" + std::string(300, ' ');

}  // namespace

TEST(ZipArchive, ReadsStoredAndDeflatedMembersByEitherSlash) {
  std::string bmp(5000, '\x7f');
  std::string zip = MakeZip({{"UI_HomePage.xml", kLayout, true}, {"image/close.bmp", bmp, false}}, "skin");
  auto archive = qx::dui::ZipArchive::Open(zip.data(), zip.size());
  ASSERT_TRUE(archive);
  ASSERT_EQ(archive->Entries().size(), 2u);
  std::string out;
  const auto* layout = archive->Find("ui_homepage.XML");
  ASSERT_TRUE(layout);
  EXPECT_LT(layout->compressedSize, layout->size);
  ASSERT_TRUE(archive->Extract(*layout, out));
  EXPECT_EQ(out, kLayout);
  const auto* image = archive->Find("image\\close.bmp");
  ASSERT_TRUE(image);
  ASSERT_TRUE(archive->Extract(*image, out));
  EXPECT_EQ(out, bmp);
  EXPECT_FALSE(archive->Find("image\\missing.bmp"));
  EXPECT_FALSE(archive->Find("close.bmp"));
}

TEST(ZipArchive, RefusesWhatIsNotAWholeArchive) {
  std::string zip = MakeZip({{"a.xml", kLayout, true}});
  EXPECT_FALSE(qx::dui::ZipArchive::Open(zip.data(), 10));
  EXPECT_FALSE(qx::dui::ZipArchive::Open(zip.data(), zip.size() - 1));  // end record cut
  EXPECT_FALSE(qx::dui::ZipArchive::Open(nullptr, 0));
  std::string text = "just some text that is not an archive at all";
  EXPECT_FALSE(qx::dui::ZipArchive::Open(text.data(), text.size()));
  // A directory offset pointing past the archive.
  std::string bad = zip;
  bad[bad.size() - 6] = '\x7f';
  EXPECT_FALSE(qx::dui::ZipArchive::Open(bad.data(), bad.size()));
}

TEST(ZipArchive, DamagedMemberDataIsNotHandedOut) {
  std::string zip = MakeZip({{"a.xml", kLayout, true}, {"b.txt", "plain text", false}});
  // Flip a byte inside each member's data (after the 30-byte header and name).
  zip[30 + 5 + 2] ^= 0x55;
  auto archive = qx::dui::ZipArchive::Open(zip.data(), zip.size());
  ASSERT_TRUE(archive);
  std::string out = "stale";
  EXPECT_FALSE(archive->Extract(*archive->Find("a.xml"), out));
  EXPECT_TRUE(out.empty());
  size_t plain = zip.find("plain text");
  zip[plain] = 'P';
  archive = qx::dui::ZipArchive::Open(zip.data(), zip.size());
  EXPECT_FALSE(archive->Extract(*archive->Find("b.txt"), out));

  // A member whose header lies beyond the data.
  qx::dui::ZipEntry beyond = *archive->Find("b.txt");
  beyond.localHeaderOffset = static_cast<uint32_t>(zip.size()) - 4;
  EXPECT_FALSE(archive->Extract(beyond, out));
  // A member that claims more packed bytes than the archive has.
  qx::dui::ZipEntry oversized = *archive->Find("b.txt");
  oversized.compressedSize = oversized.size = 0x7FFFFFFF;
  EXPECT_FALSE(archive->Extract(oversized, out));
}
