#include "payload/layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace qx::payload;

namespace {

Field FieldOf(const std::string& text) {
  Field f{};
  std::memcpy(f.data(), text.data(), std::min(text.size(), f.size()));
  return f;
}

// A sparse file: unwritten bytes read as zero.
struct SparseFile {
  int64_t size;
  std::map<int64_t, std::string> pieces;
  void Put(int64_t at, const std::string& bytes) { pieces[at] = bytes; }
  ReadAt Reader() const {
    return [this](int64_t offset, char* buf, size_t n) {
      for (const auto& [at, bytes] : pieces)
        for (size_t i = 0; i < bytes.size(); ++i) {
          const int64_t pos = at + static_cast<int64_t>(i);
          if (pos >= offset && pos < offset + static_cast<int64_t>(n) && pos < size) buf[pos - offset] = bytes[i];
        }
      return offset <= size;
    };
  }
};

std::string RecordBytes(const std::string& marker, int64_t start) {
  auto r = MakeRecord(marker, start);
  return std::string(r->data(), r->size());
}

}  // namespace

TEST(PayloadLayout, RecordSitsAtTheFirstWholeMiBBehindTheImage) {
  EXPECT_EQ(RecordOffsetFor(0), kMiB);
  EXPECT_EQ(RecordOffsetFor(1), kMiB);
  EXPECT_EQ(RecordOffsetFor(kMiB), kMiB);
  EXPECT_EQ(RecordOffsetFor(kMiB + 1), 2 * kMiB);
  EXPECT_EQ(RecordOffsetFor(2683392), 3 * kMiB);  // the shipped example
}

TEST(PayloadLayout, RecordFieldsAreZeroFilledAsciiAndRefuseWhatDoesNotFit) {
  const auto r = MakeRecord("QX7zOffset", 2683492);
  ASSERT_TRUE(r);
  EXPECT_EQ(std::string(r->data()), "QX7zOffset");
  EXPECT_EQ(std::string(r->data() + kFieldSize), "2683492");
  EXPECT_EQ((*r)[kFieldSize - 1], 0);
  EXPECT_EQ((*r)[kRecordSize - 1], 0);
  EXPECT_FALSE(MakeRecord("", 1));
  EXPECT_FALSE(MakeRecord(std::string(50, 'x'), 1));
  EXPECT_TRUE(MakeRecord(std::string(49, 'x'), 1));
  EXPECT_FALSE(MakeRecord("QX", -1));
}

TEST(PayloadLayout, MarkerMatchesOnlyWhenAZeroByteFollows) {
  EXPECT_TRUE(FieldMatches("QX7zOffset", FieldOf("QX7zOffset")));
  EXPECT_FALSE(FieldMatches("QX7zOffset", FieldOf("QX7zOffsetX")));
  EXPECT_FALSE(FieldMatches("QX7zOffset", FieldOf("qx7zoffset")));
  EXPECT_FALSE(FieldMatches("QX7zOffset", FieldOf("QX7z")));
  // An empty marker matches any position whose first byte is zero.
  EXPECT_TRUE(FieldMatches("", FieldOf("")));
  EXPECT_FALSE(FieldMatches("", FieldOf("a")));
}

TEST(PayloadLayout, SearchStartParsesLikeADecimalConversion) {
  EXPECT_EQ(ParseSearchStart(FieldOf("2683492")), 2683492);
  EXPECT_EQ(ParseSearchStart(FieldOf("  42abc")), 42);
  EXPECT_EQ(ParseSearchStart(FieldOf("-7")), -7);
  EXPECT_EQ(ParseSearchStart(FieldOf("letters")), 0);
  EXPECT_EQ(ParseSearchStart(FieldOf("")), 0);
  // 49 digits saturate instead of overflowing.
  EXPECT_EQ(ParseSearchStart(FieldOf(std::string(49, '9'))), INT64_MAX);
  // A full field without a zero byte stops at the field's end.
  EXPECT_EQ(ParseSearchStart(FieldOf(std::string(50, '1'))), INT64_MAX);
}

TEST(PayloadLocator, ProbesWholeMiBPositionsWithAFullMiBBehindThem) {
  SparseFile small{2 * kMiB - 1, {}};
  small.Put(kMiB, RecordBytes("QX7zOffset", 5));
  EXPECT_EQ(FindSearchStart("QX7zOffset", small.size, small.Reader()), 0) << "files under 2 MiB are not probed";

  SparseFile big{64000000, {}};
  big.Put(3 * kMiB, RecordBytes("QX7zOffset", 2683492));
  big.Put(3 * kMiB - 777, "QX7zOffset");  // the settings' own copy, off the grid
  EXPECT_EQ(FindSearchStart("QX7zOffset", big.size, big.Reader()), 2683492);

  SparseFile tail{10 * kMiB - 1, {}};
  tail.Put(9 * kMiB, RecordBytes("QX7zOffset", 9));
  EXPECT_EQ(FindSearchStart("QX7zOffset", tail.size, tail.Reader()), 0) << "record less than 1 MiB before the end";

  SparseFile two{20 * kMiB, {}};
  two.Put(4 * kMiB, RecordBytes("QX7zOffset", 400));
  two.Put(2 * kMiB, RecordBytes("QX7zOffset", 200));
  EXPECT_EQ(FindSearchStart("QX7zOffset", two.size, two.Reader()), 200) << "lowest position wins";

  SparseFile longer{20 * kMiB, {}};
  longer.Put(2 * kMiB, "QX7zOffsetZ");
  EXPECT_EQ(FindSearchStart("QX7zOffset", longer.size, longer.Reader()), 0);

  EXPECT_EQ(FindSearchStart("QX7zOffset", int64_t{1} << 31, big.Reader()), 0) << "size beyond signed 32 bits";
}
