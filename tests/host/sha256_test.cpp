#include "core/sha256.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

std::string Hex(const Sha256Digest& d) { return HexOf(d.data(), d.size()); }

TEST(Sha256, KnownAnswers) {
  EXPECT_EQ(Hex(Sha256Of("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Hex(Sha256Of("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Hex(Sha256Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  // A million bytes fed in uneven pieces, across block boundaries.
  Sha256 hash;
  const std::string piece(997, 'a');
  size_t fed = 0;
  for (; fed + piece.size() <= 1000000; fed += piece.size()) hash.Update(piece);
  hash.Update(std::string(1000000 - fed, 'a'));
  EXPECT_EQ(Hex(hash.Finish()), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(HmacSha256, Rfc4231Cases) {
  EXPECT_EQ(Hex(HmacSha256(std::string(20, '\x0b'), "Hi There")),
            "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7");
  EXPECT_EQ(Hex(HmacSha256("Jefe", "what do ya want for nothing?")),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
  // A key longer than a block is hashed first.
  EXPECT_EQ(Hex(HmacSha256(std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First")),
            "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54");
}

}  // namespace
}  // namespace qx
