#include "listing/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tov {
namespace {

std::string DigestOf(const std::string& message) {
    MD5 md5;
    md5.update(message.data(), static_cast<std::uint32_t>(message.size()));
    md5.finalize();
    return md5.hex_digest();
}

TEST(MD5, Rfc1321TestSuite) {
    EXPECT_EQ(DigestOf(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(DigestOf("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(DigestOf("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(DigestOf("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(DigestOf("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(DigestOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(DigestOf("1234567890123456789012345678901234567890123456789012345678901234567890123"
                       "4567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// Message lengths around the padding boundaries: 55 bytes leave room for the bit count in the
// last block, 56 to 63 need a further block.
TEST(MD5, PaddingBoundaries) {
    const struct {
        std::size_t length;
        const char* digest;
    } cases[] = {
        {55, "04364420e25c512fd958a70738aa8f72"}, {56, "668a72d5ba17f08e62dabcafad6db14b"},
        {63, "7dc2ca208106a2f703567bdff99d8981"}, {64, "c1bb4f81d892b2d57947682aeb252456"},
        {65, "1bc932052302d074bdec39795fe00cf6"}, {119, "ab347a5f68c8a443cfcddc633f12c24f"},
        {120, "fb98667f98096de92620b64f46e1c5b5"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DigestOf(std::string(c.length, 'x')), c.digest) << c.length << " bytes";
    }
}

// Pieces of every size from 0 to 130 bytes, starting at every offset of the block buffer and
// at unaligned addresses, give the digest of the whole message in one update.
TEST(MD5, PiecewiseUpdatesMatchOneUpdate) {
    std::string message(1000, '\0');
    for (std::size_t i = 0; i < message.size(); ++i) {
        message[i] = static_cast<char>((i * 131 + 7) % 251);
    }
    const std::string whole = DigestOf(message);
    for (std::uint32_t piece = 0; piece <= 130; ++piece) {
        MD5 md5;
        std::size_t at = 0;
        std::uint32_t step = piece;
        while (at < message.size()) {
            const std::uint32_t take =
                static_cast<std::uint32_t>(std::min<std::size_t>(step, message.size() - at));
            md5.update(message.data() + at, take);
            at += take;
            step = step == 0 ? 1 : step;  // a zero-length update first, then single bytes
        }
        md5.finalize();
        EXPECT_EQ(md5.hex_digest(), whole) << "pieces of " << piece;
    }
}

TEST(MD5, MisuseIsReportedOnStandardErrorAndChangesNothing) {
    MD5 md5;
    testing::internal::CaptureStderr();
    EXPECT_EQ(md5.hex_digest(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MD5::hex_digest:  Can't get digest if you haven't finalized the digest!\n");

    md5.update("abc", 3);
    md5.finalize();
    testing::internal::CaptureStderr();
    md5.update("def", 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MD5::update:  Can't update a finalized digest!\n");
    testing::internal::CaptureStderr();
    md5.finalize();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MD5::finalize:  Already finalized this digest!\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(md5.hex_digest(), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// 2^29 bytes are 2^32 bits: the low word of the bit count wraps to 0 and the carry must reach
// the high word. Reference digests from `head -c N /dev/zero | md5sum`. Fed as one 64 KiB block
// of zeros again and again, so nothing large is allocated. Half a gigabyte takes about a second
// optimised but more than a minute in the sanitised debug build, so it runs in optimised builds
// only (the Windows build of these tests is one).
TEST(MD5, BitCountCarriesIntoTheHighWord) {
#ifndef NDEBUG
    GTEST_SKIP() << "runs in optimised builds only";
#endif
    const std::vector<unsigned char> zeros(65536, 0);
    MD5 exact;
    for (int i = 0; i < 8192; ++i) {
        exact.update(zeros.data(), 65536);
    }
    MD5 beyond = exact;  // a value: the copy goes on from the same state
    beyond.update(zeros.data(), 1);
    exact.finalize();
    beyond.finalize();
    EXPECT_EQ(exact.hex_digest(), "aa559b4e3523a6c931f08f4df52d58f2");   // 536870912 bytes
    EXPECT_EQ(beyond.hex_digest(), "ea3b62c6b93cb3625a1fd76777985f5a");  // 536870913 bytes
}

}  // namespace
}  // namespace tov
